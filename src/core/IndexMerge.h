#pragma once
// Brings lessons a newer installation ships into the learner's own article index: each
// article line of the shipped index that is new since the last shipped index seen, and that
// the learner's index lacks, goes at the end of its category there, the categories it needs
// made. Nothing of the learner's is changed or reordered; lessons the learner removed after
// they shipped stay removed.
#include <QStringList>

namespace mvx {

class IndexMerge final
{
public:
    // lastShipped: the shipped index as seen at the last merge; without one (hasLast false)
    // every shipped article the learner's index lacks is new. Returns the learner's lines
    // with the new articles in; *added counts them.
    [[nodiscard]] static QStringList Merge(const QStringList &learner, const QStringList &shipped,
                                           const QStringList &lastShipped, bool hasLast, int *added = nullptr);
};

} // namespace mvx
