#pragma once
// Lesson sentences from subtitle cues: one sentence per cue, or cues regrouped into
// sentences. Regrouping joins cues until a sentence ends (. ? ! 。 ？ ！, closing quotes and
// brackets after them; not an ellipsis, not after "Mr." "Mrs." "Dr." "U.S." and the like or
// an initial, not inside a number such as "3.5") and splits a cue that holds more than one
// sentence. A split falls in the longest pause of the speech inside the cue near the split
// point; without one, the cue's time is shared by characters. A cue's Chinese goes with the
// sentence where the cue's English starts. A cue with Chinese only adds it to the sentence
// before it (or, at the very start, to the first sentence).
#include "libs/sentra/SilenceDetector.h"
#include "SubtitleParser.h"

#include <QList>

namespace mvx {

struct TimedSentence
{
    qint64 startMs = 0;
    qint64 endMs = 0;
    QString english;
    QString chinese;
    int line = 0; // 1-based line of its first cue's time line
};

class SubtitleSentences final
{
public:
    [[nodiscard]] static QList<TimedSentence> onePerCue(const QList<SubtitleCue> &cues);
    // pauses: the speech's pauses in time order (SilenceDetector::findPauses).
    [[nodiscard]] static QList<TimedSentence> regroup(const QList<SubtitleCue> &cues, const QList<PauseSpan> &pauses);
    // Character offsets just past each sentence end in the text (after closing quotes).
    [[nodiscard]] static QList<int> sentenceEnds(const QString &english);
};

} // namespace mvx
