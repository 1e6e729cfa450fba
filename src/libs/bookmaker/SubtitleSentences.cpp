#include "SubtitleSentences.h"

#include <QSet>

namespace mvx {

namespace {

void addText(QString &to, const QString &text)
{
    if (text.isEmpty())
        return;
    if (!to.isEmpty())
        to += QLatin1Char(' ');
    to += text;
}

// Words whose full stop does not end a sentence.
bool isAbbreviation(QString word)
{
    static const QSet<QString> known = {
        QStringLiteral("Mr"),  QStringLiteral("Mrs"), QStringLiteral("Ms"),  QStringLiteral("Dr"),
        QStringLiteral("Prof"), QStringLiteral("St"), QStringLiteral("Jr"),  QStringLiteral("Sr"),
        QStringLiteral("U.S"), QStringLiteral("U.K"), QStringLiteral("U.N"), QStringLiteral("vs"),
    };
    static const QString openers = QStringLiteral("\"'“‘([«「『");
    while (!word.isEmpty() && openers.contains(word.front()))
        word.remove(0, 1);
    if (word.size() == 1 && word.front().isUpper())
        return true; // an initial: "John F. Kennedy"
    return known.contains(word);
}

// When a cue holds more than one sentence: the time of the split at character offset
// `at`, after `after`, leaving at least a millisecond for each of the `remaining` pieces.
qint64 splitTime(const SubtitleCue &cue, int at, int length, qint64 after, int remaining, const QList<PauseSpan> &pauses)
{
    const qint64 span = cue.endMs - cue.startMs;
    const qint64 estimate = cue.startMs + span * at / qMax(1, length);
    const qint64 reach = qMax<qint64>(span / 4, 400);
    const PauseSpan *best = nullptr;
    for (const PauseSpan &p : pauses) {
        if (p.startMs < cue.startMs || p.endMs > cue.endMs)
            continue;
        const qint64 t = SilenceDetector::boundaryIn(p);
        if (t <= after || qAbs(t - estimate) > reach)
            continue;
        if (!best || p.length() > best->length())
            best = &p;
    }
    const qint64 t = best ? SilenceDetector::boundaryIn(*best) : estimate;
    return qBound(after + 1, t, cue.endMs - remaining);
}

} // namespace

QList<int> SubtitleSentences::sentenceEnds(const QString &text)
{
    static const QString finals = QStringLiteral(".?!。？！");
    static const QString cjkFinals = QStringLiteral("。？！");
    static const QString closers = QStringLiteral("\"'”’)]»」』）");
    QList<int> ends;
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        if (!finals.contains(text[i]))
            continue;
        int j = i;
        bool cjk = false;
        bool dotsOnly = true;
        for (; j < n && finals.contains(text[j]); ++j) {
            cjk = cjk || cjkFinals.contains(text[j]);
            dotsOnly = dotsOnly && text[j] == QLatin1Char('.');
        }
        int k = j;
        while (k < n && closers.contains(text[k]))
            ++k;
        bool endsHere = cjk || k == n || text[k].isSpace();
        if (dotsOnly && j - i > 1)
            endsHere = false; // an ellipsis: the speaker goes on
        if (endsHere && dotsOnly) {
            int w = i;
            while (w > 0 && !text[w - 1].isSpace())
                --w;
            // "3.5" never gets here (no blank after the stop); "U.S." and "Mr." do.
            if (isAbbreviation(text.mid(w, i - w)))
                endsHere = false;
        }
        if (endsHere)
            ends.append(k);
        i = k - 1;
    }
    return ends;
}

QList<TimedSentence> SubtitleSentences::onePerCue(const QList<SubtitleCue> &cues)
{
    QList<TimedSentence> out;
    QString early; // Chinese of cues before the first English
    for (const SubtitleCue &c : cues) {
        if (c.english.isEmpty()) {
            addText(out.isEmpty() ? early : out.last().chinese, c.chinese);
            continue;
        }
        out.append({c.startMs, c.endMs, c.english, c.chinese, c.line});
    }
    if (!out.isEmpty() && !early.isEmpty())
        out.first().chinese = early + (out.first().chinese.isEmpty() ? QString() : QStringLiteral(" ") + out.first().chinese);
    return out;
}

QList<TimedSentence> SubtitleSentences::regroup(const QList<SubtitleCue> &cues, const QList<PauseSpan> &pauses)
{
    QList<TimedSentence> out;
    QString early;
    bool open = false; // the last sentence still takes the next piece
    for (const SubtitleCue &c : cues) {
        if (c.english.isEmpty()) {
            addText(out.isEmpty() ? early : out.last().chinese, c.chinese);
            continue;
        }
        const QString &text = c.english;
        const int length = int(text.size());
        // The cue's pieces: split after every sentence end that is not the cue's own end.
        QList<int> cuts;
        bool lastEnds = false;
        for (const int e : sentenceEnds(text)) {
            if (text.mid(e).trimmed().isEmpty())
                lastEnds = true;
            else
                cuts.append(e);
        }
        // A cue too short to give every piece a millisecond stays whole.
        if (c.endMs - c.startMs <= cuts.size())
            cuts.clear();
        qint64 pieceStart = c.startMs;
        int from = 0;
        for (int p = 0; p <= cuts.size(); ++p) {
            const bool last = p == cuts.size();
            const int to = last ? length : cuts[p];
            const qint64 pieceEnd = last ? c.endMs : splitTime(c, to, length, pieceStart, int(cuts.size()) - p, pauses);
            const QString piece = text.mid(from, to - from).trimmed();
            if (!open) {
                out.append({pieceStart, pieceEnd, piece, {}, c.line});
                open = true;
            } else {
                addText(out.last().english, piece);
                out.last().endMs = pieceEnd;
            }
            if (p == 0)
                addText(out.last().chinese, c.chinese);
            if (!last || lastEnds)
                open = false;
            pieceStart = pieceEnd;
            from = to;
        }
    }
    if (!out.isEmpty() && !early.isEmpty())
        out.first().chinese = early + (out.first().chinese.isEmpty() ? QString() : QStringLiteral(" ") + out.first().chinese);
    return out;
}

} // namespace mvx
