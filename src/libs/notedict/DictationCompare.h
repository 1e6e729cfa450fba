#pragma once
// Checks a typed dictation of one sentence against its English. Both are split by the book's
// word rule; case, typographic apostrophes, full-width forms, punctuation and spacing do not
// count, a hyphen is a blank. Contractions count as their long forms ("can't" = "can not" =
// "cannot"), numbers as their values ("1,200" = "one thousand two hundred", "21st" =
// "twenty-first", "nineteen ninety-eight" = "1998"), "%" = "percent" = "per cent". The words
// are lined up by the least number of changes, then the most matches; a word of the text (a
// contraction or a number counts once) is right when all its parts were typed, missing when
// none was, else wrong.
#include <QString>
#include <QVector>

namespace mvx {

struct DictationMark
{
    enum Kind { Right, Wrong, Extra, Missing };
    Kind kind = Right;
    QString text; // the typed word; "＿" for a missing word of the text
};

struct DictationResult
{
    int right = 0;
    int total = 0; // words of the text
    // Per word of the text, in order: Right, Wrong or Missing, with the text's own word.
    QVector<DictationMark> textWords;
    // The typed words in order, with a "＿" where a word of the text was left out.
    QVector<DictationMark> shown;
};

[[nodiscard]] DictationResult CompareDictation(const QString &text, const QString &typed);

} // namespace mvx
