#pragma once
// Reads the timed lines of an LRC file, as LRC files are found, into lesson sentences.
// Each "[mm:ss.xx]text" line starts a sentence; a line with the same time as the one
// before it carries that sentence's Chinese; a timed line with no text ends the sentence
// before it (a pause or the end marker) without starting one. A line with several time
// tags ("[00:10.00][00:50.00]text") gives one sentence per tag, placed by its time.
// Word-time tags ("<00:12.34>") inside the text are dropped. "[offset:±ms]" moves every
// line (positive: earlier), wherever it stands; other tags ("[ti:..]", "[length:..]") are
// ignored. Untimed text lines are refused, because a learner who forgot a time would
// otherwise get a shifted lesson, and so is a one-tag line earlier than the one-tag
// line before it.
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
    // "01:02.5" -> 62500 (also mm:ss, mm:ss.ff, mm:ss.fff and mm:ss:ff); -1 when the text is
    // not a time tag body.
    [[nodiscard]] static qint64 parseTime(const QString &tagBody);
    // The text without its word-time tags, blanks made single.
    [[nodiscard]] static QString stripWordTimes(const QString &text);
};

} // namespace mvx
