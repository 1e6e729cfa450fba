#pragma once
// Dates and files of the word program's reviews: day serials, the due check over the
// learner's test files and the daily review mark.
#include <QDate>
#include <QString>

namespace mvx::spirit {

[[nodiscard]] bool IsLeapYear(int year);
// Days from 1900-01-01 to the date; the sibling programs' day serial is this + 2
// (days since 1899-12-30).
[[nodiscard]] int TodaySerial(const QDate &today);

// The learner's review data as the word program keeps it.
struct ReviewLearner
{
    QString installPath; // the word program's folder, ending in "/"
    QString name;        // learner N; files in N + ".ILE"
    QString defaultBook; // part of the test file names
};

// True when a test file of the learner's default book is overdue: hours since the
// test (day serial and hour in its name) exceed the interval in its name. Files whose
// name is too short, holds non-digits where numbers belong, an hour over 23 or a day
// ahead of today are skipped; no learner or book means nothing is due.
[[nodiscard]] bool IsReviewDue(const ReviewLearner &learner, const QDate &today, int hour);

// The day serial stored in the review mark file, or -1 when the file is missing or its
// first line is empty, not a number or later than tomorrow.
[[nodiscard]] int ReadReviewMark(const QString &markFile, const QDate &today);
// Stores the mark (one line), making its folder; false when it cannot be written.
bool WriteReviewMark(const QString &markFile, int serial);

} // namespace mvx::spirit
