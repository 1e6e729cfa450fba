#include "player/events/SentraBookMarks.h"

#include "core/Helpers.h"
#include "libs/notedict/NoteSourceRef.h"
#include "libs/sentra/SentraFacade.h"

#include <QFileInfo>

namespace mvx {

SentraBookMarks::SentraBookMarks(HandleGetter bookHandle, NameGetter bookFile)
    : m_bookHandle(std::move(bookHandle)), m_bookFile(std::move(bookFile))
{
}

bool SentraBookMarks::SetKeyword(int noInAll, int k, int wordLength, bool set, bool &nowMarked)
{
    int now = 0;
    const int r = bcSentence_SetKeywordByNo(m_bookHandle(), noInAll, k, wordLength, set ? -1 : 0, &now);
    nowMarked = now != 0;
    return r == 0;
}

bool SentraBookMarks::SetNewword(int noInAll, int k, int wordLength, bool set, bool &nowMarked)
{
    int now = 0;
    const int r = bcSentence_SetNewwordByNo(m_bookHandle(), noInAll, k, wordLength, set ? -1 : 0, &now);
    nowMarked = now != 0;
    return r == 0;
}

bool SentraBookMarks::SetDegree(int noInAll, int degree)
{
    return bcSentence_SetDegree(m_bookHandle(), noInAll, degree) == 0;
}

QString SentraBookMarks::WordMean(int noInAll, const QString &word) const
{
    return TrimAtNul(bcSentence_GetWordMean(m_bookHandle(), noInAll, word));
}

bool SentraBookMarks::SetWordMean(int noInAll, const QString &word, const QString &meaning)
{
    return bcSentence_SetAWordMean(m_bookHandle(), noInAll, word, meaning) == 0;
}

QString SentraBookMarks::SentenceExample(int noInAll) const
{
    return TrimAtNul(bcSentence_GetSentenceAsWordSample(m_bookHandle(), noInAll));
}

QString SentraBookMarks::SourceReference(int noInAll) const
{
    NoteSourceRef ref;
    ref.tag = QStringLiteral("kbt");
    ref.book = QFileInfo(m_bookFile()).fileName();
    ref.first = noInAll;
    ref.last = noInAll;
    return ref.isValid() ? ref.toText() : QString();
}

} // namespace mvx
