#pragma once
// A text file read one line per call, or written piece by piece. Reading decodes UTF-8
// (with or without BOM), else GB18030; lines end at LF or CR LF and are cut at a NUL.
// Line limits count bytes as GBK stores the text (a Chinese character 2) and never cut
// inside a character; the rest of an over-long line is skipped, so each read is one line.
// Writing collects the text and replaces the file at close through a temporary file; a new
// file is UTF-8, an appended one keeps the encoding it had.
#include "core/TextCodec.h"

#include <QString>
#include <QStringList>

namespace mvx {

class LineFile final
{
public:
    enum class Mode { Read, Write, Append };

    // False when the file cannot be read (Read) or its folder cannot take it (Write, Append).
    bool open(const QString &path, Mode mode);
    // Next line limited to maxBytes (<= 0: no limit); false at the end or when not reading.
    bool readLine(QString &line, int maxBytes);
    // False when not open for writing.
    bool write(const QString &text);
    // Puts a written file in place; false when that fails. Always leaves the file closed.
    bool close();

    [[nodiscard]] bool isOpen() const { return m_open; }
    [[nodiscard]] Mode mode() const { return m_mode; }

private:
    QString m_path;
    Mode m_mode = Mode::Read;
    bool m_open = false;
    QStringList m_lines;
    qsizetype m_next = 0;
    QString m_text; // what is written, including an appended file's old text
    TextEncoding m_encoding = TextEncoding::Utf8;
};

} // namespace mvx
