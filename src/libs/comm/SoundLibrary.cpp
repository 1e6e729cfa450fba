#include "SoundLibrary.h"

#include "core/Helpers.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFileInfo>

namespace mvx {

namespace {

QString AsFolder(const QString &path)
{
    if (path.isEmpty())
        return {};
    QString folder = QDir::cleanPath(QFileInfo(ToFsPath(path)).absoluteFilePath());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString SoundLibrary::NormaliseWord(const QString &word)
{
    QString w = word.simplified().toLower();
    w.replace(QChar(0x2019), QLatin1Char('\'')).replace(QChar(0x2018), QLatin1Char('\''));
    qsizetype begin = 0;
    qsizetype end = w.size();
    while (begin < end && !w.at(begin).isLetterOrNumber())
        ++begin;
    while (end > begin && !w.at(end - 1).isLetterOrNumber())
        --end;
    return w.mid(begin, end - begin);
}

bool SoundLibrary::load(const QString &indexFile, const QString &dataFolder, int kind)
{
    m_entries.clear();
    m_skipped = 0;
    m_error.clear();
    m_kind = kind;
    m_indexFile = QFileInfo(ToFsPath(indexFile)).absoluteFilePath();
    m_indexFolder = AsFolder(QFileInfo(m_indexFile).path());
    m_dataFolder = AsFolder(dataFolder);
    if (!m_dataFolder.isEmpty() && !QFileInfo(m_dataFolder).isDir())
        m_dataFolder.clear();

    if (!QFileInfo(m_indexFile).isFile()) {
        m_error = QStringLiteral("no index file %1").arg(m_indexFile);
        return false;
    }
    const TextFileContent content = ReadTextFile(m_indexFile);
    if (!content.ok) {
        m_error = QStringLiteral("cannot read %1").arg(m_indexFile);
        return false;
    }
    const QStringList header = content.lines.value(0).trimmed().split(QLatin1Char('\t'));
    if (header.size() < 2 || header.at(0) != QLatin1String(Magic) || header.at(1).trimmed() != QLatin1String("1")) {
        m_error = QStringLiteral("%1 is no word-sound index").arg(m_indexFile);
        return false;
    }
    for (qsizetype i = 1; i < content.lines.size(); ++i) {
        const QString &line = content.lines.at(i);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        const QString word = tab > 0 ? NormaliseWord(line.left(tab)) : QString();
        const QString file = tab > 0 ? line.mid(tab + 1).trimmed() : QString();
        if (word.isEmpty() || file.isEmpty()) {
            ++m_skipped;
            continue;
        }
        if (!m_entries.contains(word))
            m_entries.insert(word, ToFsPath(file));
    }
    return true;
}

bool SoundLibrary::contains(const QString &word) const
{
    return m_entries.contains(NormaliseWord(word));
}

QString SoundLibrary::soundFileFor(const QString &word) const
{
    const auto it = m_entries.constFind(NormaliseWord(word));
    if (it == m_entries.constEnd())
        return {};
    const QString &file = it.value();
    if (QDir::isAbsolutePath(file))
        return QFileInfo(file).isFile() ? file : QString();
    for (const QString &folder : {m_dataFolder, m_indexFolder}) {
        if (folder.isEmpty())
            continue;
        const QString candidate = folder + file;
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

} // namespace mvx
