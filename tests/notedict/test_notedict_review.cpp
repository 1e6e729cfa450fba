// The review schedule: intervals, ease factors, lapses and due times for sequences of
// answers, answered at set local times.
#include "notedict/ReviewSchedule.h"

#include <QtTest>

using namespace mvx;
using Grade = ReviewSchedule::Grade;

Q_DECLARE_METATYPE(QList<int>)

namespace {
Grade GradeOf(QChar c)
{
    switch (c.unicode()) {
    case 'a': return Grade::Again;
    case 'h': return Grade::Hard;
    case 'g': return Grade::Good;
    default: return Grade::Easy;
    }
}
} // namespace

class TestNotedictReview : public QObject
{
    Q_OBJECT

private slots:
    // Answers (a again, h hard, g good, e easy), each given on the day the last one fell due.
    void sequences_data()
    {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QList<int>>("intervals");
        QTest::addColumn<int>("ease");
        QTest::addColumn<int>("lapses");
        QTest::addRow("good x4") << "gggg" << QList<int>{1, 6, 15, 38} << 250 << 0;
        QTest::addRow("easy x3") << "eee" << QList<int>{1, 6, 16} << 280 << 0;
        QTest::addRow("hard x3: 2.5 - 3 x 0.14") << "hhh" << QList<int>{1, 6, 13} << 208 << 0;
        QTest::addRow("ease floor") << "hhhhhhhhhh" << QList<int>{1, 6, 13, 27, 52, 94, 156, 237, 327, 425} << 130 << 0;
        QTest::addRow("again x4 stays at the floor") << "aaaa" << QList<int>{1, 1, 1, 1} << 130 << 4;
        QTest::addRow("lapse starts over") << "gggag" << QList<int>{1, 6, 15, 1, 1} << 196 << 1;
        QTest::addRow("good after lapse then 6") << "ggagg" << QList<int>{1, 6, 1, 1, 6} << 196 << 1;
    }
    void sequences()
    {
        QFETCH(QString, answers);
        QFETCH(QList<int>, intervals);
        QFETCH(int, ease);
        QFETCH(int, lapses);
        QDateTime now(QDate(2026, 3, 2), QTime(9, 30), Qt::LocalTime);
        ReviewState s = ReviewState::fresh(now.toMSecsSinceEpoch());
        QList<int> got;
        for (const QChar c : answers) {
            s = ReviewSchedule::answer(s, GradeOf(c), now);
            got << s.interval;
            now = QDateTime::fromMSecsSinceEpoch(s.dueMs).addSecs(3600);
        }
        QCOMPARE(got, intervals);
        QCOMPARE(s.ease, ease);
        QCOMPARE(s.lapses, lapses);
        QCOMPARE(s.reviews, int(answers.size()));
    }

    // Due at 04:00 local time; the learner's day begins at 04:00.
    void dueTimes_data()
    {
        QTest::addColumn<QTime>("answeredAt");
        QTest::addColumn<int>("grade");
        QTest::addColumn<QDateTime>("due");
        const QDate d(2026, 3, 2);
        QTest::addRow("good in the morning") << QTime(9, 0) << 4 << QDateTime(d.addDays(1), QTime(4, 0));
        QTest::addRow("good just after midnight is yesterday's") << QTime(1, 30) << 4 << QDateTime(d, QTime(4, 0));
        QTest::addRow("good at 04:00 is today's") << QTime(4, 0) << 4 << QDateTime(d.addDays(1), QTime(4, 0));
        QTest::addRow("again: ten minutes") << QTime(23, 55) << 1 << QDateTime(d.addDays(1), QTime(0, 5));
    }
    void dueTimes()
    {
        QFETCH(QTime, answeredAt);
        QFETCH(int, grade);
        QFETCH(QDateTime, due);
        const QDateTime now(QDate(2026, 3, 2), answeredAt, Qt::LocalTime);
        const ReviewState s = ReviewSchedule::answer(ReviewState::fresh(0), Grade(grade), now);
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(s.dueMs), due);
        QCOMPARE(s.lastReviewMs, now.toMSecsSinceEpoch());
    }

    // What each grade button shows for a word on its third good answer.
    void buttonTexts()
    {
        ReviewState s;
        s.reps = 2;
        s.interval = 6;
        QCOMPARE(ReviewSchedule::intervalText(s, Grade::Again), QStringLiteral("10分钟"));
        QCOMPARE(ReviewSchedule::intervalText(s, Grade::Good), QStringLiteral("15天"));
        s.interval = 40;
        QCOMPARE(ReviewSchedule::intervalText(s, Grade::Easy), QStringLiteral("3个月"));
    }

    // Values out of range read from a file are brought back into it.
    void clampsBadValues()
    {
        ReviewState s;
        s.ease = 20;
        s.interval = -5;
        s.reps = -1;
        const ReviewState c = s.clamped();
        QCOMPARE(c.ease, ReviewState::MinEase);
        QCOMPARE(c.interval, 0);
        QCOMPARE(c.reps, 0);
        const ReviewState next = ReviewSchedule::answer(s, Grade::Good, QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
        QCOMPARE(next.interval, 1);
        QCOMPARE(next.ease, ReviewState::MinEase);
    }
};

QTEST_GUILESS_MAIN(TestNotedictReview)
#include "test_notedict_review.moc"
