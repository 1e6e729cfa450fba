#pragma once
// The word marks, sentence degrees and stored meanings of the open book, by a sentence's
// number in the whole book. Every change is stored at once; a failed change (read-only or
// closed book, a word number or length that does not match the sentence) returns false and
// changes nothing.
#include <QString>

namespace mvx {

class BookMarks
{
public:
    virtual ~BookMarks() = default;

    // Toggles (set = false) or sets (set = true) the key-word / new-word mark of word k whose
    // text has wordLength characters. nowMarked: whether the word is marked afterwards.
    virtual bool SetKeyword(int noInAll, int k, int wordLength, bool set, bool &nowMarked) = 0;
    virtual bool SetNewword(int noInAll, int k, int wordLength, bool set, bool &nowMarked) = 0;
    virtual bool SetDegree(int noInAll, int degree) = 0;
    // The meaning stored for word in that sentence; empty when none.
    [[nodiscard]] virtual QString WordMean(int noInAll, const QString &word) const = 0;
    virtual bool SetWordMean(int noInAll, const QString &word, const QString &meaning) = 0;
    // The sentence as an example text for the notebook, and the word's source reference.
    [[nodiscard]] virtual QString SentenceExample(int noInAll) const = 0;
    [[nodiscard]] virtual QString SourceReference(int noInAll) const = 0;
};

} // namespace mvx
