#pragma once
// Text files of the program and of older installations: read as UTF-8 when the bytes
// are valid UTF-8 (with or without BOM), else as GB18030 (a superset of GBK). New files
// are written as UTF-8; a changed file keeps the encoding it was read in.
// Byte limits on lines count the text as GBK would store it (a Chinese character = 2).
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace mvx {

enum class TextEncoding { Utf8, Utf8Bom, Gb18030 };

[[nodiscard]] bool IsValidUtf8(const QByteArray &bytes);
[[nodiscard]] QString DecodeText(const QByteArray &bytes, TextEncoding *detected = nullptr);
[[nodiscard]] QByteArray EncodeText(const QString &text, TextEncoding encoding);
// The text in the encoding, unless those bytes would read back as other text (GB18030 bytes
// that look like UTF-8: "锘緾" is EF BB BF 43, a byte-order mark and "C"); then UTF-8.
[[nodiscard]] QByteArray EncodeTextToReadBack(const QString &text, TextEncoding encoding);
// Bytes the text takes in GBK / GB18030 (ASCII 1, Chinese 2, rare characters 4).
[[nodiscard]] int GbkByteLength(const QString &text);
// The longest prefix that fits in maxBytes as GBK, never cutting a character.
[[nodiscard]] QString CutToGbkBytes(const QString &text, int maxBytes);

struct TextFileContent
{
    bool ok = false;
    TextEncoding encoding = TextEncoding::Utf8;
    QStringList lines; // without line ends; CR LF and LF both end a line
};

[[nodiscard]] TextFileContent ReadTextFile(const QString &path);
// Writes lines with CR LF ends (as the older files have) in the given encoding,
// through a temporary file renamed into place, so a crash never leaves half a file.
bool WriteTextFile(const QString &path, const QStringList &lines, TextEncoding encoding = TextEncoding::Utf8);

} // namespace mvx
