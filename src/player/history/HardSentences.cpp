#include "player/history/HardSentences.h"

#include <algorithm>

namespace mvx {

double HardnessScore(const SentenceCounts &counts, const std::optional<DictationMark> &dictation, const QDateTime &now)
{
    double score = hardness::RepeatWeight * counts.repeats + hardness::LookupWeight * counts.lookups;
    if (dictation && dictation->wordsTotal > 0 && dictation->at.isValid() && dictation->at <= now
        && dictation->at.daysTo(now) <= hardness::RecentDays) {
        const int missed = std::clamp(dictation->wordsTotal - dictation->wordsRight, 0, dictation->wordsTotal);
        score += hardness::DictationWeight * double(missed) / dictation->wordsTotal;
    }
    return score;
}

QList<HardSentence> HardestSentences(const QList<SentenceCounts> &counts,
                                     const std::function<std::optional<DictationMark>(int)> &dictationOf,
                                     const QDateTime &now, int n)
{
    QList<HardSentence> all;
    all.reserve(counts.size());
    for (const SentenceCounts &c : counts) {
        const double score = HardnessScore(c, dictationOf ? dictationOf(c.noInAll) : std::nullopt, now);
        if (score > 0)
            all.append({c, score});
    }
    const auto harder = [](const HardSentence &a, const HardSentence &b) {
        if (a.score != b.score)
            return a.score > b.score;
        if (a.counts.lastHeard != b.counts.lastHeard)
            return a.counts.lastHeard > b.counts.lastHeard;
        return a.counts.noInAll < b.counts.noInAll;
    };
    const int keep = std::clamp(n, 0, int(all.size()));
    std::partial_sort(all.begin(), all.begin() + keep, all.end(), harder);
    all.resize(keep);
    return all;
}

} // namespace mvx
