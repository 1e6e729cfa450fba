// The bc... operations: a table of open books behind integer handles, each call checked
// and forwarded to SentraBook / LessonPages.
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SentraFacadeSound.h"
#include "libs/sentra/StretchCutter.h"

#include "LessonPages.h"
#include "SoundFiles.h"
#include "libs/sentra/SentraBook.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <memory>

using namespace mvx::sentra;

namespace {

// Handles count up from 1 and are never reused, so a stale handle cannot reach another book.
class BookTable final
{
public:
    int add(std::unique_ptr<SentraBook> book)
    {
        const int h = m_next++;
        m_books.emplace(h, std::move(book));
        return h;
    }
    SentraBook *find(int h)
    {
        const auto it = m_books.find(h);
        return it == m_books.end() ? nullptr : it->second.get();
    }
    bool remove(int h) { return m_books.erase(h) > 0; }

private:
    std::map<int, std::unique_ptr<SentraBook>> m_books;
    int m_next = 1;
};

BookTable &books()
{
    static BookTable table;
    return table;
}

// The excerpts' cutter of each open book (its decoder kept for the next cut).
std::map<int, std::unique_ptr<StretchCutter>> &cutters()
{
    static std::map<int, std::unique_ptr<StretchCutter>> table;
    return table;
}

StretchCutter &cutterOf(int hBook)
{
    std::unique_ptr<StretchCutter> &c = cutters()[hBook];
    if (!c)
        c = std::make_unique<StretchCutter>();
    return *c;
}

// Sentence of an open book, or nullopt.
std::optional<SentenceData> sentenceOf(int hBook, int nNoInAll)
{
    SentraBook *b = books().find(hBook);
    return b ? b->sentence(nNoInAll) : std::nullopt;
}

int swapRedBlue(int colour)
{
    const unsigned c = unsigned(colour);
    return int(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

int setWordMark(int hBook, int nNoInAll, int nWordNo, int nWordLen, int nSetMode,
                int *pNowMarked, WordMarkKind kind)
{
    SentraBook *b = books().find(hBook);
    if (!b)
        return -1;
    const std::optional<bool> now = b->changeWordMark(
        nNoInAll, nWordNo, nWordLen, kind, nSetMode == 0 ? WordMarkChange::Toggle : WordMarkChange::Set);
    if (!now)
        return -1;
    if (pNowMarked)
        *pNowMarked = *now ? -1 : 0;
    return 0;
}

} // namespace

int bcSentraBook_Open(const QString &szFileName, const QString &szMode)
{
    const QString mode = szMode.trimmed().toLower();
    if (mode != QLatin1String("rb") && mode != QLatin1String("r+b") && mode != QLatin1String("rb+"))
        return -1;
    auto book = std::make_unique<SentraBook>();
    if (!book->open(szFileName, mode != QLatin1String("rb")))
        return -1;
    return books().add(std::move(book));
}

int bcSentraBook_Close(int hBook)
{
    cutters().erase(hBook);
    return books().remove(hBook) ? 0 : -1;
}

int bcSentraBook_GetLessonInfo(int hBook, int nLessonNo, int *pFirstSentence,
                               int *pSentenceCount, int, int *pHasTitle)
{
    SentraBook *b = books().find(hBook);
    const std::optional<LessonInfo> info = b ? b->lessonInfo(nLessonNo) : std::nullopt;
    if (!info)
        return -1;
    if (pFirstSentence)
        *pFirstSentence = info->firstSentence;
    if (pSentenceCount)
        *pSentenceCount = info->sentenceCount;
    if (pHasTitle)
        *pHasTitle = info->hasTitle ? -1 : 0;
    return 0;
}

int bcSentraBook_MakeHtml(int hBook, const QString &szEHtmlFile, const QString &szCHtmlFile,
                          const QString &szCommentHtmlFile, const QString &szEcHtmlFile,
                          int nLessonNo, int, int nEColor, int nCColor, int nCommentColor,
                          int nKeywordColor, int, int, int *pFirstSentence, int *pSentenceCount,
                          int *pHasTitle, std::span<int> degrees, const QString &szEStyle,
                          const QString &szCStyle, int)
{
    SentraBook *b = books().find(hBook);
    if (!b)
        return -1;
    const std::optional<LessonInfo> info = b->lessonInfo(nLessonNo);
    const std::optional<LessonData> lesson = info ? b->readLesson(nLessonNo) : std::nullopt;
    if (!lesson)
        return -1;
    const PageColours colours{nEColor, nCColor, nCommentColor, nKeywordColor};
    const auto &ss = lesson->sentences;
    const bool written = LessonPages::writePages(szEHtmlFile, szCHtmlFile, szCommentHtmlFile,
                                                 szEcHtmlFile, ss, colours, szEStyle, szCStyle);
    if (!written)
        return -1;
    if (pFirstSentence)
        *pFirstSentence = info->firstSentence;
    if (pSentenceCount)
        *pSentenceCount = info->sentenceCount;
    if (pHasTitle)
        *pHasTitle = info->hasTitle ? -1 : 0;
    for (size_t i = 0; i < degrees.size(); ++i)
        degrees[i] = i < size_t(ss.size()) ? ss[qsizetype(i)].degree : 0;
    return 1;
}

QString bcSentence_MakeEHtml(int hBook, int nNoInAll, int nNoInLesson, int nEColor,
                             int nKeywordColor, int, int, int, int)
{
    const std::optional<SentenceData> s = sentenceOf(hBook, nNoInAll);
    if (!s || nNoInLesson < 0)
        return {};
    return LessonPages::englishLabel(*s, nNoInLesson, nEColor, nKeywordColor, QString());
}

QString bcSentence_MakeCHtml(int hBook, int nNoInAll, int nNoInLesson, int nCColorSettingsOrder,
                             int)
{
    const std::optional<SentenceData> s = sentenceOf(hBook, nNoInAll);
    if (!s || nNoInLesson < 0)
        return {};
    return LessonPages::chineseLabel(*s, nNoInLesson, swapRedBlue(nCColorSettingsOrder), QString());
}

QString bcSentence_MakeCommentHtml(int hBook, int nNoInAll, int nNoInLesson,
                                   const QString &szRequest, int nCommentColor)
{
    const std::optional<SentenceData> s = sentenceOf(hBook, nNoInAll);
    if (!s || nNoInLesson < 0)
        return {};
    if (szRequest.trimmed().compare(QLatin1String(InnerHtmlOnlyRequest), Qt::CaseInsensitive) == 0)
        return LessonPages::commentInner(*s);
    return LessonPages::commentLabel(*s, nNoInLesson, nCommentColor);
}

int bcSentence_MakeSndFile(int hBook, int nNoInAll, int, int, int *pOut,
                           const QString &szBaseName, int nWaveFlag, int)
{
    SentraBook *b = books().find(hBook);
    if (!b || szBaseName.isEmpty())
        return -1;
    std::vector<qint16> samples;
    if (!b->cutSentence(nNoInAll, samples))
        return -1;
    QString error;
    const bool ok = nWaveFlag != 0
                        ? SoundFiles::writeWav(szBaseName + QStringLiteral(".wav"), samples,
                                               SentraBook::SoundRate, &error)
                        : SoundFiles::writeMp3(szBaseName + QStringLiteral(".mp3"), samples,
                                               SentraBook::SoundRate, 96, &error);
    if (!ok)
        return -1;
    if (pOut)
        *pOut = int(samples.size());
    return 0;
}

int bcSentence_MakeSndMp3(const QString &szBaseName)
{
    if (szBaseName.isEmpty())
        return -1;
    return SoundFiles::makeMp3FromWav(szBaseName + QStringLiteral(".wav"),
                                      szBaseName + QStringLiteral(".mp3"), 96)
               ? 0
               : -1;
}

QString bcSentence_GetPureEnglish(int hBook, int nNoInAll)
{
    const std::optional<SentenceData> s = sentenceOf(hBook, nNoInAll);
    return s ? s->english : QString();
}

QString bcSentence_GetMiddleEnglish(int hBook, int nNoInAll)
{
    return bcSentence_GetPureEnglish(hBook, nNoInAll);
}

QString bcSentence_GetChinese(int hBook, int nNoInAll)
{
    const std::optional<SentenceData> s = sentenceOf(hBook, nNoInAll);
    return s ? s->chinese : QString();
}

QString bcSentence_GetComment(int hBook, int nNoInAll)
{
    const std::optional<SentenceData> s = sentenceOf(hBook, nNoInAll);
    return s ? s->comment : QString();
}

QString bcSentence_GetSentenceAsWordSample(int hBook, int nNoInAll)
{
    const std::optional<SentenceData> s = sentenceOf(hBook, nNoInAll);
    if (!s)
        return {};
    return s->chinese.isEmpty() ? s->english : s->english + QStringLiteral("\r\n") + s->chinese;
}

int bcSentraBook_CutStretch(int hBook, int nLessonNo, qint64 nStartMs, qint64 nEndMs,
                            std::vector<qint16> &samples)
{
    SentraBook *b = books().find(hBook);
    if (b && cutterOf(hBook).cut(*b, nLessonNo, nStartMs, nEndMs, samples, nullptr))
        return 0;
    samples.clear();
    return -1;
}

qint64 bcSentraBook_GetSoundLength(int hBook, int nLessonNo)
{
    SentraBook *b = books().find(hBook);
    return b ? cutterOf(hBook).soundMs(*b, nLessonNo) : -1;
}

int bcSentence_GetHeardSpan(int hBook, int nNoInAll, int *pLessonNo, int *pStartMs, int *pEndMs)
{
    SentraBook *b = books().find(hBook);
    const std::optional<SentenceData> s = b ? b->sentence(nNoInAll) : std::nullopt;
    if (!s)
        return -1;
    if (pLessonNo)
        *pLessonNo = b->lessonOfSentence(nNoInAll);
    if (pStartMs)
        *pStartMs = s->heardStartMs();
    if (pEndMs)
        *pEndMs = s->heardEndMs();
    return 0;
}

QString mvx::sentra::SentenceFileName(const QString &bookPath, int noInAll, int maxLen)
{
    if (maxLen <= 0)
        return {};
    // Book name and sentence number: unique per sentence, stable, and safe on every file system.
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_\\-\\x{4e00}-\\x{9fff}]"));
    QString base = QFileInfo(bookPath).completeBaseName();
    base.replace(unsafe, QStringLiteral("_"));
    const QString suffix = QStringLiteral("_%1").arg(noInAll, 5, 10, QLatin1Char('0'));
    base = base.left(std::max<qsizetype>(0, maxLen - suffix.size()));
    return (base + suffix).left(maxLen);
}

QString bcSentence_GetFileNameEnglish(int hBook, int nNoInAll, int nMaxLen)
{
    SentraBook *b = books().find(hBook);
    if (!b || b->lessonOfSentence(nNoInAll) < 0)
        return {};
    return SentenceFileName(b->path(), nNoInAll, nMaxLen);
}

int bcSentence_SetKeywordByNo(int hBook, int nNoInAll, int nWordNo, int nWordLen, int nSetMode,
                              int *pNowMarked)
{
    return setWordMark(hBook, nNoInAll, nWordNo, nWordLen, nSetMode, pNowMarked,
                       WordMarkKind::Keyword);
}

int bcSentence_SetNewwordByNo(int hBook, int nNoInAll, int nWordNo, int nWordLen, int nSetMode,
                              int *pNowMarked)
{
    return setWordMark(hBook, nNoInAll, nWordNo, nWordLen, nSetMode, pNowMarked,
                       WordMarkKind::Newword);
}

QString bcSentence_GetWordMean(int hBook, int nNoInAll, const QString &szWord)
{
    SentraBook *b = books().find(hBook);
    return b ? b->wordMeaning(nNoInAll, szWord) : QString();
}

int bcSentence_SetAWordMean(int hBook, int nNoInAll, const QString &szWord,
                            const QString &szMeaning)
{
    SentraBook *b = books().find(hBook);
    return b && b->setWordMeaning(nNoInAll, szWord, szMeaning) ? 0 : -1;
}

int bcSentence_SetDegree(int hBook, int nNoInAll, int nDegree)
{
    SentraBook *b = books().find(hBook);
    return b && b->setDegree(nNoInAll, nDegree) ? 0 : -1;
}

int bcSentence_SetDictation(int hBook, int nNoInAll, int nWordsRight, int nWordsTotal)
{
    SentraBook *b = books().find(hBook);
    return b && b->setDictation(nNoInAll, nWordsRight, nWordsTotal, QDateTime::currentDateTime()) ? 0 : -1;
}

int bcSentence_GetDictation(int hBook, int nNoInAll, int *pWordsRight, int *pWordsTotal)
{
    SentraBook *b = books().find(hBook);
    const auto score = b ? b->dictation(nNoInAll) : std::nullopt;
    if (!score)
        return -1;
    if (pWordsRight)
        *pWordsRight = score->wordsRight;
    if (pWordsTotal)
        *pWordsTotal = score->wordsTotal;
    return 0;
}

int bcSentence_Modify(int hBook, int nNoInAll, const std::optional<QString> &szEnglish,
                      const std::optional<QString> &szChinese,
                      const std::optional<QString> &szComment)
{
    SentraBook *b = books().find(hBook);
    return b && b->modifySentence(nNoInAll, szEnglish, szChinese, szComment) ? 0 : -1;
}

bool bcSentraBook_IsWritable(int hBook)
{
    SentraBook *b = books().find(hBook);
    return b && b->isWritable();
}

int bcSentence_GetTimes(int hBook, int nNoInAll, int *pMakerStart, int *pMakerEnd, int *pHeardStart,
                        int *pHeardEnd)
{
    const std::optional<SentenceData> s = sentenceOf(hBook, nNoInAll);
    if (!s)
        return -1;
    for (auto [out, value] : {std::pair{pMakerStart, s->startMs}, std::pair{pMakerEnd, s->endMs},
                              std::pair{pHeardStart, s->heardStartMs()}, std::pair{pHeardEnd, s->heardEndMs()}})
        if (out)
            *out = value;
    return 0;
}

int bcSentence_NudgeTime(int hBook, int nNoInAll, int nEdge, int nDeltaMs)
{
    SentraBook *b = books().find(hBook);
    if (!b || (nEdge != 0 && nEdge != 1))
        return -1;
    return b->nudgeSentence(nNoInAll, nEdge == 0 ? SentenceEdge::Start : SentenceEdge::End, nDeltaMs) ? 0 : -1;
}

int bcSentence_SetHeardTimes(int hBook, int nNoInAll, int nStartMs, int nEndMs)
{
    SentraBook *b = books().find(hBook);
    return b && b->setHeardTimes(nNoInAll, {nStartMs, nEndMs}) ? 0 : -1;
}

int bcSentence_RestoreTimes(int hBook, int nNoInAll)
{
    SentraBook *b = books().find(hBook);
    return b && b->restoreSentenceTimes(nNoInAll) ? 0 : -1;
}
