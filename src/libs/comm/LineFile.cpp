#include "LineFile.h"

#include "core/Helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace mvx {

bool LineFile::open(const QString &path, Mode mode)
{
    close();
    m_path = ToFsPath(path);
    m_mode = mode;
    m_lines.clear();
    m_next = 0;
    m_text.clear();
    m_encoding = TextEncoding::Utf8;
    if (m_path.isEmpty())
        return false;

    if (mode == Mode::Read || (mode == Mode::Append && QFileInfo::exists(m_path))) {
        QFile file(m_path);
        if (!QFileInfo(m_path).isFile() || !file.open(QIODevice::ReadOnly))
            return false;
        const QString text = DecodeText(file.readAll(), &m_encoding);
        if (file.error() != QFileDevice::NoError)
            return false;
        if (mode == Mode::Append) {
            m_text = text;
        } else if (!text.isEmpty()) {
            m_lines = text.split(QLatin1Char('\n'));
            if (m_lines.last().isEmpty())
                m_lines.removeLast(); // the end of the last line is no line of its own
        }
    }
    if (mode != Mode::Read && !QFileInfo(QFileInfo(m_path).absolutePath()).isDir())
        return false;
    m_open = true;
    return true;
}

bool LineFile::readLine(QString &line, int maxBytes)
{
    line.clear();
    if (!m_open || m_mode != Mode::Read || m_next >= m_lines.size())
        return false;
    QString text = m_lines.at(m_next++);
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    line = maxBytes > 0 ? CutToGbkBytes(text, maxBytes) : text;
    return true;
}

bool LineFile::write(const QString &text)
{
    if (!m_open || m_mode == Mode::Read)
        return false;
    m_text += text;
    return true;
}

bool LineFile::close()
{
    if (!m_open)
        return true;
    m_open = false;
    m_lines.clear();
    if (m_mode == Mode::Read)
        return true;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(EncodeTextToReadBack(m_text, m_encoding));
    m_text.clear();
    return file.commit();
}

} // namespace mvx
