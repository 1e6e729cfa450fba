// The book maker's LRC reader: any text gives sentences in time order with their key-word
// marks checked, or a refusal that names a line of the file.
#include "FuzzSupport.h"
#include "libs/bookmaker/BookMaker.h"
#include "libs/bookmaker/KeyWordMarks.h"
#include "libs/bookmaker/LrcParser.h"

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    const QStringList lines = fuzz::lines(fuzz::input(data, size));
    const LrcResult result = LrcParser::parse(lines, QStringLiteral("input.lrc"));
    if (result.error.isError()) {
        FUZZ_CHECK(result.error.line >= 0 && result.error.line <= lines.size() + 1, result.error.toString());
        return 0;
    }
    for (qsizetype i = 0; i < result.sentences.size(); ++i) {
        const LrcSentence &s = result.sentences[i];
        FUZZ_CHECK(s.startMs >= 0, s.english);
        FUZZ_CHECK(s.endMs < 0 || s.endMs >= s.startMs, s.english);
        FUZZ_CHECK(i == 0 || result.sentences[i - 1].startMs <= s.startMs, s.english);
        FUZZ_CHECK(s.line >= 1 && s.line <= lines.size(), QString::number(s.line));
        const MarkedText marked = StripKeyWordMarks(s.english.simplified());
        for (const KeyWordSpan &span : marked.keyWords)
            FUZZ_CHECK(span.start >= 0 && span.length > 0 && span.start + span.length <= marked.plain.size(),
                       s.english);
        for (int word : BookMaker::keyWordNumbers(marked.plain, marked.keyWords))
            FUZZ_CHECK(word >= 1, s.english);
    }
    return 0;
}
