#pragma once
// Writes a page as UTF-8 in pieces through a small buffer, under a temporary name that is
// renamed into place when finished: no reader sees half a page, and a page of thousands of
// sentences never has to be held whole in memory.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>

namespace mvx::sentra {

class PageFile final
{
public:
    explicit PageFile(const QString &path);
    ~PageFile(); // removes the temporary file unless finish() succeeded
    PageFile(const PageFile &) = delete;
    PageFile &operator=(const PageFile &) = delete;

    PageFile &operator<<(QStringView text);
    PageFile &operator<<(QLatin1String text);
    // Flushes, closes and renames into place; false (and the page left as it was) on failure.
    bool finish(QString *error = nullptr);

private:
    void flush();

    QString m_path;
    QFile m_file;
    QByteArray m_buffer;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
    bool m_ok = false;
    bool m_finished = false;
};

} // namespace mvx::sentra
