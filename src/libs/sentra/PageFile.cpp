#include "PageFile.h"

#include <cstdio>

namespace mvx::sentra {

namespace {
constexpr qsizetype BufferSize = 64 * 1024;
}

PageFile::PageFile(const QString &path) : m_path(path), m_file(path + QStringLiteral(".part"))
{
    m_ok = m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    m_buffer.reserve(BufferSize + 1024);
}

PageFile::~PageFile()
{
    if (!m_finished) {
        m_file.close();
        m_file.remove();
    }
}

void PageFile::flush()
{
    if (m_ok && !m_buffer.isEmpty())
        m_ok = m_file.write(m_buffer) == m_buffer.size();
    m_buffer.resize(0);
}

PageFile &PageFile::operator<<(QStringView text)
{
    if (!m_ok)
        return *this;
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + m_encoder.requiredSpace(text.size()));
    char *end = m_encoder.appendToBuffer(m_buffer.data() + old, text);
    m_buffer.resize(end - m_buffer.constData());
    if (m_buffer.size() >= BufferSize)
        flush();
    return *this;
}

PageFile &PageFile::operator<<(QLatin1String text)
{
    if (!m_ok)
        return *this;
    m_buffer.append(text.data(), text.size()); // the page's own markup is ASCII
    if (m_buffer.size() >= BufferSize)
        flush();
    return *this;
}

bool PageFile::finish(QString *error)
{
    flush();
    m_file.close();
    m_ok = m_ok && m_file.error() == QFileDevice::NoError
           && std::rename(QFile::encodeName(m_file.fileName()).constData(),
                          QFile::encodeName(m_path).constData())
                  == 0;
    if (!m_ok) {
        m_file.remove();
        if (error)
            *error = QStringLiteral("cannot write %1").arg(m_path);
    }
    m_finished = true;
    return m_ok;
}

} // namespace mvx::sentra
