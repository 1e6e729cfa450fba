#include "SentenceWords.h"

namespace mvx::sentra {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.category() == QChar::Mark_NonSpacing;
}

bool isJoiner(QChar c)
{
    return c == u'\'' || c == u'\u2019' || c == u'-' || c == u'.';
}

} // namespace

QList<SentenceWords::Piece> SentenceWords::split(const QString &english)
{
    QList<Piece> pieces;
    const qsizetype n = english.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        if (isWordChar(english[i])) {
            ++i;
            while (i < n) {
                if (isWordChar(english[i])) {
                    ++i;
                } else if (isJoiner(english[i]) && i + 1 < n && isWordChar(english[i + 1])) {
                    i += 2;
                } else {
                    break;
                }
            }
            pieces.append({QStringView(english).mid(start, i - start), true});
        } else {
            while (i < n && !isWordChar(english[i]))
                ++i;
            pieces.append({QStringView(english).mid(start, i - start), false});
        }
    }
    return pieces;
}

QStringList SentenceWords::words(const QString &english)
{
    QStringList out;
    for (const Piece &p : split(english)) {
        if (p.isWord)
            out.append(p.text.toString());
    }
    return out;
}

} // namespace mvx::sentra
