#pragma once
// What the history says about one lesson, read together with its book: the days studied, the
// time per day and the hardest sentences with their counts and English. The study-record
// window shows it and the mvxbrx-history tool prints it (ReportLines), so they never differ.
// Sentences the book no longer has are skipped; while the book cannot be opened there are
// no sentences to go back to, so the report keeps only the days studied.
#include "player/history/ListeningHistory.h"

#include <QStringList>

namespace mvx {

struct HardSentenceRow
{
    int noInAll = -1;
    int noInLesson = -1;
    double score = 0;
    SentenceCounts counts;
    QString english;
};

struct LessonReport
{
    QString book;
    int lessonNo = -1;
    QString title;         // from the book; empty when it cannot be read
    int firstSentence = 0; // number in all of the lesson's sentence 0
    bool hasTitle = false; // sentence 0 is the title line
    QMap<QDate, qint64> perDay; // ms studied per day
    QList<HardSentenceRow> hardest;
    [[nodiscard]] int DaysStudied() const { return int(perDay.size()); }
    [[nodiscard]] qint64 TotalMs() const;
};

inline constexpr int DefaultHardCount = 10;
// How many hard sentences the learner asked for (setting HardSentenceCount), else 10.
[[nodiscard]] int HardCountSetting();

[[nodiscard]] LessonReport MakeLessonReport(ListeningHistory &history, const QString &book, int lessonNo,
                                            int hardCount, const QDateTime &now);

// Tab-separated lines: "lesson", book, lesson number, title, days studied, minutes in all;
// then "day", date, minutes for each day studied (oldest first); then "hard", rank, sentence
// number in the lesson, score, repeats, look-ups, plays, last heard, English for each hard
// sentence. With summaryOnly only the "lesson" line.
[[nodiscard]] QStringList ReportLines(const LessonReport &report, bool summaryOnly = false);

// The minutes of a day's study time, as the report and the chart show them.
[[nodiscard]] double Minutes(qint64 ms);

} // namespace mvx
