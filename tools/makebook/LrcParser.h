#pragma once
// Reads the timed lines of an LRC file into lesson sentences.
// Each "[mm:ss.xx]text" line starts a sentence; a line with the same time as the one
// before it carries that sentence's Chinese; a timed line with no text ends the sentence
// before it (a pause or the end marker) without starting one. Tag lines ("[ti:..]",
// "[offset:..]") are read for the offset only; untimed text lines are refused, because
// a learner who forgot a time would otherwise get a shifted lesson.
// Times must rise strictly from one sentence to the next.
#include "core/InputError.h"

#include <QList>
#include <QStringList>

namespace mvx {

struct LrcSentence
{
    qint64 startMs = 0;
    qint64 endMs = -1; // -1: ends where the next sentence begins (or at the end of the sound)
    QString english;
    QString chinese;
    int line = 0;    // 1-based line of the English text
    int endLine = 0; // 1-based line of the end marker, 0 when there is none
};

struct LrcResult
{
    QList<LrcSentence> sentences;
    InputError error;
};

class LrcParser final
{
public:
    // fileName only names the file in error messages.
    [[nodiscard]] static LrcResult parse(const QStringList &lines, const QString &fileName);
    // "[01:02.5]" -> 62500; -1 when the text is not a time tag body ("01:02.5").
    [[nodiscard]] static qint64 parseTime(const QString &tagBody);
};

} // namespace mvx
