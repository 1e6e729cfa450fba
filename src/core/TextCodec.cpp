#include "TextCodec.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <iconv.h>

namespace mvx {

namespace {

QByteArray iconvConvert(const char *to, const char *from, const QByteArray &in)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return {};
    QByteArray out;
    out.resize(in.size() * 4 + 16);
    char *inPtr = const_cast<char *>(in.constData());
    size_t inLeft = size_t(in.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
            // Skip a byte that cannot be converted rather than lose the rest of the text.
            if (errno == EILSEQ || errno == EINVAL) {
                ++inPtr;
                --inLeft;
                continue;
            }
            break;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - qsizetype(outLeft));
    return out;
}

} // namespace

bool IsValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        int extra;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            extra = 1;
        else if ((c & 0xF0) == 0xE0)
            extra = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            extra = 3;
        else
            return false;
        for (int k = 1; k <= extra; ++k)
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
        // No overlong forms, surrogates or code points past U+10FFFF: such bytes are far more
        // likely GBK text that only looks like UTF-8.
        const unsigned char second = p[i + 1];
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90)
            || (c == 0xF4 && second > 0x8F))
            return false;
        i += extra + 1;
    }
    return true;
}

QString DecodeText(const QByteArray &bytes, TextEncoding *detected)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        if (detected)
            *detected = TextEncoding::Utf8Bom;
        return QString::fromUtf8(bytes.mid(3));
    }
    if (IsValidUtf8(bytes)) {
        if (detected)
            *detected = TextEncoding::Utf8;
        return QString::fromUtf8(bytes);
    }
    if (detected)
        *detected = TextEncoding::Gb18030;
    return QString::fromUtf8(iconvConvert("UTF-8", "GB18030", bytes));
}

QByteArray EncodeText(const QString &text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TextEncoding::Gb18030:
        return iconvConvert("GB18030", "UTF-8", text.toUtf8());
    }
    return text.toUtf8();
}

QByteArray EncodeTextToReadBack(const QString &text, TextEncoding encoding)
{
    QByteArray bytes = EncodeText(text, encoding);
    if (encoding == TextEncoding::Gb18030 && DecodeText(bytes) != text)
        bytes = EncodeText(text, TextEncoding::Utf8);
    return bytes;
}

int GbkByteLength(const QString &text)
{
    int bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80)
            bytes += 1;
        else if (c.isHighSurrogate() && i + 1 < text.size()) {
            bytes += 4;
            ++i;
        } else
            bytes += 2;
    }
    return bytes;
}

QString CutToGbkBytes(const QString &text, int maxBytes)
{
    int bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        int size = 1;
        int units = 1;
        if (c.unicode() >= 0x80) {
            if (c.isHighSurrogate() && i + 1 < text.size()) {
                size = 4;
                units = 2;
            } else
                size = 2;
        }
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        i += units;
    }
    return text.left(i);
}

TextFileContent ReadTextFile(const QString &path)
{
    TextFileContent content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return content;
    const QString text = DecodeText(file.readAll(), &content.encoding);
    content.ok = true;
    if (text.isEmpty())
        return content;
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    content.lines = normalised.split(QLatin1Char('\n'));
    if (content.lines.size() > 1 && content.lines.last().isEmpty())
        content.lines.removeLast();
    return content;
}

bool WriteTextFile(const QString &path, const QStringList &lines, TextEncoding encoding)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text = lines.join(QStringLiteral("\r\n"));
    if (!lines.isEmpty())
        text += QStringLiteral("\r\n");
    file.write(EncodeTextToReadBack(text, encoding));
    return file.commit();
}

} // namespace mvx
