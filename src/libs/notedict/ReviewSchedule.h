#pragma once
// Spaced repetition of notebook words by SM-2 (P. A. Woźniak, 1990): each answer's quality q
// (again 1, hard 3, good 4, easy 5) sets the next interval and the word's ease factor (EF).
// q >= 3: the interval is 1 day after the first success, 6 after the second, then the last
// interval times EF, rounded; q < 3 starts again at 1 day and counts a lapse. EF then moves
// by 0.1 - (5 - q)(0.08 + (5 - q) 0.02), never below 1.3; it is kept in whole hundredths so
// every step is exact. A word falls due at 04:00 local time (the learner's day begins then)
// the interval's number of days after the answer's day; "again" is due ten minutes later.
// Plain values, time passed in: no clock, no storage.
#include <QDateTime>
#include <QString>

namespace mvx {

struct ReviewState
{
    static constexpr int NewEase = 250;
    static constexpr int MinEase = 130;

    qint64 dueMs = 0;     // UTC milliseconds
    int ease = NewEase;   // EF in hundredths
    int interval = 0;     // days
    int reps = 0;         // successful answers in a row (n)
    int reviews = 0;      // answers given
    int lapses = 0;       // answers "again"
    qint64 lastReviewMs = 0;

    // Values out of range (a damaged or hand-edited file) brought back into it.
    [[nodiscard]] ReviewState clamped() const;
    // A word added at addedMs: due at once.
    [[nodiscard]] static ReviewState fresh(qint64 addedMs);
};

class ReviewSchedule final
{
public:
    enum class Grade { Again = 1, Hard = 3, Good = 4, Easy = 5 };
    static constexpr int AgainMinutes = 10;
    static constexpr int DayStartHour = 4;

    // The state after answering with grade at now.
    [[nodiscard]] static ReviewState answer(const ReviewState &state, Grade grade, const QDateTime &now);
    // The next interval in days for this grade (0 for again: minutes, not days).
    [[nodiscard]] static int nextInterval(const ReviewState &state, Grade grade);
    // 04:00 local time, days after the learner's day of now.
    [[nodiscard]] static QDateTime dueAfterDays(const QDateTime &now, int days);
    // What a grade button shows: "10分钟", "1天", "6天", "3个月" ...
    [[nodiscard]] static QString intervalText(const ReviewState &state, Grade grade);
    // Grade from the keys 1..4; false for anything else.
    [[nodiscard]] static bool gradeOfKey(int digit, Grade &grade);
};

} // namespace mvx
