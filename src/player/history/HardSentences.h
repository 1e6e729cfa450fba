#pragma once
// Which of a lesson's sentences the learner finds hard: a score from how often a sentence was
// repeated and looked up in, and from its last dictation check when that is recent. A plain
// function, so the ranking can be read and tested in one place.
#include <QDateTime>
#include <QList>
#include <functional>
#include <optional>

namespace mvx {

struct SentenceCounts
{
    int noInAll = -1;
    int plays = 0;   // played as part of the lesson
    int repeats = 0; // sentence, A-B and automatic repeat rounds
    int lookups = 0; // words looked up in it
    QDateTime lastHeard;
};

struct DictationMark
{
    int wordsRight = 0;
    int wordsTotal = 0;
    QDateTime at;
};

namespace hardness {
inline constexpr int RepeatWeight = 1;
inline constexpr int LookupWeight = 3;
inline constexpr int DictationWeight = 10; // times the share of words missed
inline constexpr int RecentDays = 30;      // an older dictation check no longer counts
} // namespace hardness

// repeats × 1 + look-ups × 3 + 10 × (words missed / words) of a dictation check taken in the
// last 30 days before now. Plays do not count: every sentence of a lesson is played.
[[nodiscard]] double HardnessScore(const SentenceCounts &counts, const std::optional<DictationMark> &dictation,
                                   const QDateTime &now);

struct HardSentence
{
    SentenceCounts counts;
    double score = 0;
};

// The n hardest sentences (score above 0), hardest first; ties go to the one heard last, then
// to the earlier sentence.
[[nodiscard]] QList<HardSentence> HardestSentences(const QList<SentenceCounts> &counts,
                                                   const std::function<std::optional<DictationMark>(int)> &dictationOf,
                                                   const QDateTime &now, int n);

} // namespace mvx
