#pragma once
// BookMarks over the sentence-book library: the open book is read through a getter so the
// adapter follows the player's book as lessons open and close. Source references name the
// book by its file name ("#kbt|文化习俗.dat|57").
#include "player/events/BookMarks.h"

#include <functional>

namespace mvx {

class SentraBookMarks final : public BookMarks
{
public:
    using HandleGetter = std::function<int()>;
    using NameGetter = std::function<QString()>;
    SentraBookMarks(HandleGetter bookHandle, NameGetter bookFile);

    bool SetKeyword(int noInAll, int k, int wordLength, bool set, bool &nowMarked) override;
    bool SetNewword(int noInAll, int k, int wordLength, bool set, bool &nowMarked) override;
    bool SetDegree(int noInAll, int degree) override;
    [[nodiscard]] QString WordMean(int noInAll, const QString &word) const override;
    bool SetWordMean(int noInAll, const QString &word, const QString &meaning) override;
    [[nodiscard]] QString SentenceExample(int noInAll) const override;
    [[nodiscard]] QString SourceReference(int noInAll) const override;

private:
    HandleGetter m_bookHandle;
    NameGetter m_bookFile;
};

} // namespace mvx
