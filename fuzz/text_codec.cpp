// The text decoding rule (UTF-8 when valid, else GB18030) and the GBK byte counting that
// line limits use: a cut never splits a character and never exceeds its limit.
#include "FuzzSupport.h"
#include "core/TextCodec.h"

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    const QByteArray bytes = fuzz::input(data, size);
    TextEncoding encoding = TextEncoding::Utf8;
    const QString text = DecodeText(bytes, &encoding);
    // A byte-order mark says UTF-8 whatever follows; without one, valid UTF-8 or GB18030.
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    FUZZ_CHECK((encoding == TextEncoding::Utf8Bom) == bom, QString());
    FUZZ_CHECK(bom || (encoding == TextEncoding::Gb18030) == !IsValidUtf8(bytes), QString());

    // Text read as UTF-8 is written back as the same text (leading byte-order marks, which
    // are no text, may be dropped on the way).
    const auto withoutMarks = [](QString t) {
        while (t.startsWith(QChar(0xFEFF)))
            t.remove(0, 1);
        return t;
    };
    if (encoding != TextEncoding::Gb18030)
        FUZZ_CHECK(withoutMarks(DecodeText(EncodeText(text, encoding))) == withoutMarks(text), QString());
    (void)EncodeText(text, TextEncoding::Gb18030);

    const int total = GbkByteLength(text);
    FUZZ_CHECK(total >= 0, QString::number(total));
    const int limit = size > 0 ? data[0] % 64 : 0;
    const QString cut = CutToGbkBytes(text, limit);
    FUZZ_CHECK(text.startsWith(cut), cut);
    FUZZ_CHECK(GbkByteLength(cut) <= limit, cut);
    FUZZ_CHECK(cut.isEmpty() || !cut.back().isHighSurrogate(), cut);

    const QString path = fuzz::writeFile(QStringLiteral("text.txt"), bytes);
    const TextFileContent content = ReadTextFile(path);
    FUZZ_CHECK(content.ok, path);
    for (const QString &line : content.lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')), line);
    return 0;
}
