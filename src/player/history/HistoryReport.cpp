#include "player/history/HistoryReport.h"

#include "core/UserSettings.h"
#include "libs/sentra/SentraBook.h"

#include <cmath>

namespace mvx {

qint64 LessonReport::TotalMs() const
{
    qint64 sum = 0;
    for (qint64 ms : perDay)
        sum += ms;
    return sum;
}

int HardCountSetting()
{
    const int n = GetUserInt(QString::fromLatin1(Key::HardSentenceCount), DefaultHardCount);
    return n > 0 ? n : DefaultHardCount;
}

double Minutes(qint64 ms)
{
    return std::round(ms / 6000.0) / 10.0; // one decimal
}

LessonReport MakeLessonReport(ListeningHistory &history, const QString &book, int lessonNo, int hardCount,
                              const QDateTime &now)
{
    LessonReport r;
    r.book = book;
    r.lessonNo = lessonNo;
    r.perDay = history.StudyTimePerDay(book, lessonNo);
    QList<SentenceCounts> counts = history.LessonSentences(book, lessonNo);

    sentra::SentraBook b;
    std::optional<sentra::LessonInfo> info;
    if (b.open(book, false))
        info = b.lessonInfo(lessonNo);
    if (!info)
        return r; // no book, no sentences to rank or to open
    r.title = info->title;
    r.firstSentence = info->firstSentence;
    r.hasTitle = info->hasTitle;
    // Sentences the lesson no longer has are left out.
    counts.removeIf([&](const SentenceCounts &c) {
        return c.noInAll < info->firstSentence || c.noInAll >= info->firstSentence + info->sentenceCount;
    });
    const QHash<int, sentra::SentraBook::DictationScore> dictations = b.lessonDictations(lessonNo);
    const auto dictationOf = [&](int noInAll) -> std::optional<DictationMark> {
        const auto it = dictations.constFind(noInAll);
        if (it == dictations.cend())
            return std::nullopt;
        return DictationMark{it->wordsRight, it->wordsTotal, it->at};
    };
    for (const HardSentence &h : HardestSentences(counts, dictationOf, now, hardCount)) {
        HardSentenceRow row;
        row.noInAll = h.counts.noInAll;
        row.noInLesson = h.counts.noInAll - info->firstSentence;
        row.score = h.score;
        row.counts = h.counts;
        const auto s = b.sentence(h.counts.noInAll);
        row.english = s ? s->english : QString();
        r.hardest.append(row);
    }
    return r;
}

QStringList ReportLines(const LessonReport &r, bool summaryOnly)
{
    const auto flat = [](QString t) {
        for (QChar c : {u'\t', u'\r', u'\n'})
            t.replace(c, u' ');
        return t;
    };
    QStringList out;
    out << QStringLiteral("lesson\t%1\t%2\t%3\t%4\t%5")
               .arg(flat(r.book))
               .arg(r.lessonNo)
               .arg(flat(r.title))
               .arg(r.DaysStudied())
               .arg(Minutes(r.TotalMs()));
    if (summaryOnly)
        return out;
    for (auto it = r.perDay.cbegin(); it != r.perDay.cend(); ++it)
        out << QStringLiteral("day\t%1\t%2").arg(it.key().toString(Qt::ISODate)).arg(Minutes(it.value()));
    int rank = 0;
    for (const HardSentenceRow &h : r.hardest)
        out << QStringLiteral("hard\t%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8")
                   .arg(++rank)
                   .arg(h.noInLesson)
                   .arg(h.score)
                   .arg(h.counts.repeats)
                   .arg(h.counts.lookups)
                   .arg(h.counts.plays)
                   .arg(h.counts.lastHeard.toLocalTime().toString(Qt::ISODate), flat(h.english));
    return out;
}

} // namespace mvx
