// The listening history in the player window with a real book, the real media back end and
// the real pages: repeats are counted into the per-user history file, "只听难句" takes
// next / previous through the hardest sentences and marks them in the page margin, and the
// "学习记录" window lists them, draws the minutes per day and opens the player at one.
#include "../support/BuiltHome.h"
#include "../sentra/SentraFixtures.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "player/events/PlayerTextSide.h"
#include "player/form/PlayLessonForm.h"
#include "player/form/PlayerStudyLog.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/playback/PlaybackController.h"
#include "player/studyrecord/MinutesChart.h"
#include "player/studyrecord/StudyRecordForm.h"
#include "ui/MessageBox.h"

#include <QToolButton>
#include <numeric>
#include <QTreeWidget>
#include <QtTest>

using namespace mvx;

class TestPlayerHistory : public QObject
{
    Q_OBJECT

    QString m_book;
    QStringList m_messages;

    static bool WaitFor(const std::function<bool()> &pred, int ms = 10000) { return QTest::qWaitFor(pred, ms); }

    // The left border of sentence n's English label in the page ("" when none).
    static QString MarginMark(PlayLessonForm &form, int n)
    {
        auto &pages = static_cast<pages::LessonPages &>(form.Pages());
        auto *view = static_cast<pages::HtmlView *>(form.ScriptView());
        return view
            ->runAndWait(QStringLiteral("(function(){var l=__mvxAgent.el('%1','ste%2');return l?l.style.borderLeft:'';})()")
                             .arg(pages.FrameOf(SentenceText::English))
                             .arg(n),
                         3000)
            .toString();
    }

    // Starts and stops a repeat of the current sentence `times` times.
    static void Repeat(PlayLessonForm &form, int times, int listenMs = 0)
    {
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(&form, Qt::Key_R);
            QCOMPARE(form.Controller().PlayStatus(), int(Repeating));
            if (listenMs > 0)
                QTest::qWait(listenMs);
            QTest::keyClick(&form, Qt::Key_S);
        }
    }

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        m_book = fixtures::makeBook(QStringLiteral("history.dat"), {fixtures::sampleLesson()});
        QFile::remove(ListeningHistory::DefaultPath());
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
        SaveUserBool(QString::fromLatin1(Key::AutoMaximize), false);
        SaveUserInt(QString::fromLatin1(Key::HardSentenceCount), 2);
    }

    void repeatsAreKeptAndHardSentencesFollow()
    {
        {
            PlayLessonForm form;
            form.OpenLesson(m_book, 0, true);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            auto *hardOnly = form.findChild<QToolButton *>(QStringLiteral("btHardOnly"));
            hardOnly->click(); // nothing studied yet: refused with a word why
            QVERIFY(!hardOnly->isChecked());
            QCOMPARE(m_messages.size(), 1);
            QVERIFY(m_messages.first().contains(QStringLiteral("还没有难句")));
            Repeat(form, 1, 700); // sentence 1, long enough for study time
            QTest::keyClick(&form, Qt::Key_J);
            QVERIFY(WaitFor([&] { return form.Controller().CurSentence() == 2; }));
            Repeat(form, 3);
            QTest::keyClick(&form, Qt::Key_J);
            QVERIFY(WaitFor([&] { return form.Controller().CurSentence() == 3; }));
            form.close(); // the last counts are written on unload
        }
        {
            ListeningHistory h(ListeningHistory::DefaultPath());
            const QList<SentenceCounts> counts = h.LessonSentences(ListeningHistory::BookKey(m_book), 0);
            QCOMPARE(counts.size(), 2);
            QCOMPARE(counts[0].noInAll, 1);
            QCOMPARE(counts[0].repeats, 1);
            QCOMPARE(counts[1].repeats, 3);
            QVERIFY(h.StudyTimePerDay(ListeningHistory::BookKey(m_book), 0).value(QDate::currentDate()) >= 250);
        }

        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PlaybackController &c = form.Controller();
        auto *hardOnly = form.findChild<QToolButton *>(QStringLiteral("btHardOnly"));
        hardOnly->click();
        QVERIFY(hardOnly->isChecked());
        QCOMPARE(c.SentenceFilter(), QList<int>({1, 2}));
        QVERIFY(WaitFor([&] { return MarginMark(form, 2).contains(QStringLiteral("3px")); }));
        QVERIFY(MarginMark(form, 1).contains(QStringLiteral("3px")));
        QCOMPARE(MarginMark(form, 3), QString());
        QTest::keyClick(&form, Qt::Key_J);
        QVERIFY(WaitFor([&] { return c.CurSentence() == 2; }));
        QTest::keyClick(&form, Qt::Key_J); // sentence 3 is not a hard one
        QTest::qWait(100);
        QCOMPARE(c.CurSentence(), 2);
        hardOnly->click();
        QVERIFY(!hardOnly->isChecked());
        QVERIFY(c.SentenceFilter().isEmpty());
        QVERIFY(WaitFor([&] { return MarginMark(form, 2).isEmpty(); }));

        // The record window: the hardest first, and a double click opens the player there.
        StudyRecordForm *record = form.StudyLog().ShowRecord(&form);
        QVERIFY(record);
        QCOMPARE(record->Report().hardest.size(), 2);
        QCOMPARE(record->Report().hardest[0].noInLesson, 2);
        QCOMPARE(record->Report().hardest[0].counts.repeats, 3);
        QCOMPARE(record->HardList()->topLevelItem(0)->text(5), QStringLiteral("It's a well-known sign of a good year."));
        QCOMPARE(record->Report().DaysStudied(), 1);
        QTreeWidgetItem *item = record->HardList()->topLevelItem(1);
        emit record->HardList()->itemActivated(item, 0);
        QVERIFY(WaitFor([&] { return c.CurSentence() == 1; }));
        QPointer<StudyRecordForm> closed = record;
        record->close();

        // The window lists as many hard sentences as "只听难句" goes through.
        QVERIFY(WaitFor([&] { return !closed; }));
        SaveUserInt(QString::fromLatin1(Key::HardSentenceCount), 1);
        record = form.StudyLog().ShowRecord(&form);
        SaveUserInt(QString::fromLatin1(Key::HardSentenceCount), 10);
        QCOMPARE(record->Report().hardest.size(), 1);
        QCOMPARE(record->HardList()->topLevelItemCount(), 1);
        record->close();
    }

    // The chart: one bar a day for the last 30 days, as tall as its minutes.
    void chartDrawsMinutesPerDay()
    {
        MinutesChart chart;
        chart.resize(620, 200);
        const QDate today(2026, 12, 10);
        chart.SetDays({{today, 600'000}, {today.addDays(-2), 300'000}, {today.addDays(-40), 900'000}}, today);
        const QList<double> shown = chart.ShownMinutes();
        QCOMPARE(shown.size(), MinutesChart::Days);
        QCOMPARE(shown.last(), 10.0);
        QCOMPARE(shown[MinutesChart::Days - 3], 5.0);
        QCOMPARE(std::accumulate(shown.begin(), shown.end(), 0.0), 15.0); // 40 days ago is not shown
        QVERIFY(chart.BarRect(MinutesChart::Days - 2).isEmpty());
        const QRect ten = chart.BarRect(MinutesChart::Days - 1);
        const QRect five = chart.BarRect(MinutesChart::Days - 3);
        QVERIFY(qAbs(ten.height() - 2 * five.height()) <= 1);
        QCOMPARE(ten.bottom(), five.bottom());
        QImage image(chart.size(), QImage::Format_RGB32);
        chart.render(&image);
        const QColor bar = image.pixelColor(ten.center());
        QVERIFY2(bar.blue() > 150 && bar.red() < 120, qPrintable(bar.name())); // the bar is drawn
    }
};

QTEST_MAIN(TestPlayerHistory)
#include "test_player_history.moc"
