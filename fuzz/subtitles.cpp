// The book maker's subtitle reader (SRT and WebVTT) and the sentences made from its cues,
// one per cue and regrouped into whole sentences around pauses of the speech.
#include "FuzzSupport.h"
#include "libs/bookmaker/SubtitleParser.h"
#include "libs/bookmaker/SubtitleSentences.h"

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    const QStringList lines = fuzz::lines(fuzz::input(data, size));
    const SubtitleResult result = SubtitleParser::parse(lines, QStringLiteral("input.srt"));
    if (result.error.isError())
        return 0;
    FUZZ_CHECK(!result.cues.isEmpty(), QStringLiteral("accepted without a cue"));
    for (qsizetype i = 0; i < result.cues.size(); ++i) {
        const SubtitleCue &c = result.cues[i];
        FUZZ_CHECK(c.startMs >= 0 && c.endMs > c.startMs, c.english);
        FUZZ_CHECK(i == 0 || result.cues[i - 1].endMs <= c.startMs, c.english); // never overlap
    }
    // Pauses of a made-up speech: 200 ms every 1.5 s up to the last cue.
    QList<PauseSpan> pauses;
    for (qint64 at = 1000; at < result.cues.last().endMs && pauses.size() < 10000; at += 1500)
        pauses.append({at, at + 200});
    for (const auto &sentences : {SubtitleSentences::onePerCue(result.cues), SubtitleSentences::regroup(result.cues, pauses)}) {
        for (qsizetype i = 0; i < sentences.size(); ++i) {
            const TimedSentence &s = sentences[i];
            FUZZ_CHECK(s.endMs >= s.startMs, s.english);
            FUZZ_CHECK(i == 0 || sentences[i - 1].startMs <= s.startMs, s.english);
        }
    }
    return 0;
}
