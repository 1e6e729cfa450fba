#include "ReviewSchedule.h"

#include <algorithm>

namespace mvx {

namespace {
constexpr int kMaxInterval = 36500; // a hundred years: nothing longer is meant
constexpr int kMaxEase = 1000;
} // namespace

ReviewState ReviewState::clamped() const
{
    ReviewState s = *this;
    s.ease = std::clamp(s.ease, MinEase, kMaxEase);
    s.interval = std::clamp(s.interval, 0, kMaxInterval);
    s.reps = std::max(0, s.reps);
    s.reviews = std::max(0, s.reviews);
    s.lapses = std::max(0, s.lapses);
    s.dueMs = std::max<qint64>(0, s.dueMs);
    s.lastReviewMs = std::max<qint64>(0, s.lastReviewMs);
    return s;
}

ReviewState ReviewState::fresh(qint64 addedMs)
{
    ReviewState s;
    s.dueMs = addedMs;
    return s;
}

int ReviewSchedule::nextInterval(const ReviewState &state, Grade grade)
{
    const ReviewState s = state.clamped();
    if (int(grade) < 3)
        return 0;
    if (s.reps == 0)
        return 1;
    if (s.reps == 1)
        return 6;
    // round(I x EF) with EF in hundredths, halves up.
    const qint64 days = (qint64(std::max(1, s.interval)) * s.ease + 50) / 100;
    return int(std::min<qint64>(days, kMaxInterval));
}

QDateTime ReviewSchedule::dueAfterDays(const QDateTime &now, int days)
{
    const QDateTime local = now.toLocalTime();
    const QDate day = local.addSecs(-DayStartHour * 3600).date();
    return QDateTime(day.addDays(days), QTime(DayStartHour, 0), Qt::LocalTime);
}

ReviewState ReviewSchedule::answer(const ReviewState &state, Grade grade, const QDateTime &now)
{
    ReviewState s = state.clamped();
    const int q = int(grade);
    if (q >= 3) {
        s.interval = nextInterval(s, grade);
        ++s.reps;
        s.dueMs = dueAfterDays(now, s.interval).toMSecsSinceEpoch();
    } else {
        s.reps = 0;
        s.interval = 1;
        ++s.lapses;
        s.dueMs = now.addSecs(AgainMinutes * 60).toMSecsSinceEpoch();
    }
    const int d = 5 - q;
    s.ease = std::max(ReviewState::MinEase, s.ease + 10 - d * (8 + d * 2));
    ++s.reviews;
    s.lastReviewMs = now.toMSecsSinceEpoch();
    return s;
}

QString ReviewSchedule::intervalText(const ReviewState &state, Grade grade)
{
    const int days = nextInterval(state, grade);
    if (days == 0)
        return QStringLiteral("%1分钟").arg(AgainMinutes);
    if (days < 30)
        return QStringLiteral("%1天").arg(days);
    if (days < 365)
        return QStringLiteral("%1个月").arg(qRound(days / 30.0));
    return QStringLiteral("%1年").arg(QString::number(days / 365.0, 'f', 1));
}

bool ReviewSchedule::gradeOfKey(int digit, Grade &grade)
{
    static constexpr Grade grades[] = {Grade::Again, Grade::Hard, Grade::Good, Grade::Easy};
    if (digit < 1 || digit > 4)
        return false;
    grade = grades[digit - 1];
    return true;
}

} // namespace mvx
