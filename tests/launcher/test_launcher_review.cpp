// Review reminders: day serials, the due check over the word program's test files, the
// once-a-day review tasks and the notebook's due-word reminders, on a settable clock.
#include "LauncherFixture.h"

#include "launcher/ReviewDates.h"

#include "core/TextCodec.h"

#include "notedict/NotebookStore.h"

using namespace launchertest;
using namespace mvx;

class TestLauncherReview : public QObject
{
    Q_OBJECT

private:
    StandIns m_bin;
    QString m_word;      // the word program's folder
    QString m_learner = QStringLiteral("Li Ming");

    int siblingSerial(const QDate &d) const { return TodaySerial(d) + 2; }
    // Day serials fill the first 8 characters of a test file's name.
    static QString serial8(int serial) { return QStringLiteral("%1").arg(serial, 8, 10, QLatin1Char('0')); }
    void testFile(const QString &name)
    {
        QDir().mkpath(m_word + m_learner + QStringLiteral(".ILE"));
        QFile f(m_word + m_learner + QStringLiteral(".ILE/") + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

private slots:
    void init()
    {
        ClearPrograms();
        m_bin.clear();
        m_word = m_bin.folder(QStringLiteral("Vocabra 7"));
        QDir(m_word).removeRecursively();
        m_word = m_bin.folder(QStringLiteral("Vocabra 7"));
        m_bin.program(QStringLiteral("Vocabra 7"), QStringLiteral("vocabra8"));
        m_bin.program(QStringLiteral("Vocabra 7"), QStringLiteral("lexalarm8"));
        SetProgram(QStringLiteral("vocabra7"), QStringLiteral("InstallPath"), m_word);
        SetProgram(QStringLiteral("vocabra7"), QStringLiteral("ExeName"), QStringLiteral("vocabra8"));
        SetProgram(QStringLiteral("vocabra7"), QStringLiteral("name"), m_learner);
        SaveAppSetting(QStringLiteral("vocabra7"), m_learner + QStringLiteral(".ILE"), QStringLiteral("DefaultBook"),
                       QStringLiteral("CET4"));
    }

    void daySerials_data()
    {
        QTest::addColumn<QDate>("date");
        for (const QDate &d : {QDate(1900, 1, 1), QDate(1900, 3, 1), QDate(1999, 12, 31), QDate(2000, 2, 29),
                               QDate(2000, 3, 1), QDate(2024, 12, 31), QDate(2026, 3, 10), QDate(2100, 3, 1)})
            QTest::newRow(qPrintable(d.toString(Qt::ISODate))) << d;
    }

    void daySerials()
    {
        QFETCH(QDate, date);
        QCOMPARE(TodaySerial(date), int(QDate(1900, 1, 1).daysTo(date)));
        QCOMPARE(IsLeapYear(date.year()), QDate::isLeapYear(date.year()));
    }

    void reviewDue_data()
    {
        QTest::addColumn<QString>("file");     // test file of the learner ("S" = today's serial)
        QTest::addColumn<QString>("book");     // the learner's default book
        QTest::addColumn<int>("hour");         // local hour now
        QTest::addColumn<bool>("due");
        QTest::newRow("interval = hours elapsed") << "{S}03abCET4u1006.tes" << "CET4" << 9 << false;
        QTest::newRow("one hour more") << "{S}03abCET4u1005.tes" << "CET4" << 9 << true;
        QTest::newRow("yesterday, a day's interval") << "{Y}09abCET4-024.tes" << "CET4" << 10 << true;
        QTest::newRow("other book") << "{S}03abTOEFL005.tes" << "CET4" << 9 << false;
        QTest::newRow("book name is literal") << "{S}03abCETx4005.tes" << "CET?" << 9 << false;
        QTest::newRow("book with pattern characters") << "{S}03abCET[4]005.tes" << "CET[4]" << 9 << true;
        QTest::newRow("name too short") << "{S}03CET4005.tes" << "CET4" << 9 << false;
        QTest::newRow("day not a number") << "0004x09103abCET4u1005.tes" << "CET4" << 9 << false;
        QTest::newRow("hour over 23") << "{S}25abCET4u1000.tes" << "CET4" << 9 << false;
        QTest::newRow("interval not a number") << "{S}03abCET4u10x5.tes" << "CET4" << 9 << false;
        QTest::newRow("day ahead") << "{T}00abCET4u1000.tes" << "CET4" << 9 << false;
        QTest::newRow("no book") << "{S}03abCET4u1005.tes" << "" << 9 << false;
    }

    void reviewDue()
    {
        QFETCH(QString, file);
        QFETCH(QString, book);
        QFETCH(int, hour);
        QFETCH(bool, due);
        const QDate today(2026, 3, 10);
        file.replace(QStringLiteral("{S}"), serial8(siblingSerial(today)));
        file.replace(QStringLiteral("{Y}"), serial8(siblingSerial(today) - 1));
        file.replace(QStringLiteral("{T}"), serial8(siblingSerial(today) + 1));
        testFile(file);
        QCOMPARE(IsReviewDue({m_word, m_learner, book}, today, hour), due);
        QVERIFY(!IsReviewDue({m_word, QString(), book}, today, hour)); // no learner: not due
    }

    // The review tasks start at the first check of a day, once; the lexalarm test when due;
    // "AutoRemind" off starts nothing.
    void wordProgramReminders()
    {
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        SpiritLauncher launcher({}, clock, tray, starter, boxes);
        launcher.start();
        const QString started = QStringLiteral("vocabra8|%1|selector|Li Ming.ILE").arg(QDir(m_word).canonicalPath());
        launcher.reviewTick();
        QTRY_COMPARE(m_bin.starts(), QStringList{started});
        launcher.reviewTick();
        clock.time = clock.time.addSecs(3 * 3600);
        launcher.reviewTick();
        QTest::qWait(300);
        QCOMPARE(m_bin.starts(), QStringList{started});
        const TextFileContent mark = ReadTextFile(m_word + QStringLiteral("tmpfile/ReviewMark.txt"));
        QCOMPARE(mark.lines, QStringList{QString::number(siblingSerial(clock.time.date()))});

        clock.time = clock.time.addDays(1);
        launcher.reviewTick();
        QTRY_COMPARE(m_bin.starts().size(), 2);

        // A due test starts the lexalarm stand-in.
        testFile(QStringLiteral("%1%2abCET4u1001.tes").arg(serial8(siblingSerial(clock.time.date()))).arg(clock.time.time().hour() - 2, 2, 10, QLatin1Char('0')));
        launcher.reminderTick();
        QTRY_COMPARE(m_bin.starts().size(), 3);
        QCOMPARE(m_bin.starts().last(), QStringLiteral("lexalarm8|%1|AutoTest").arg(QDir(m_word).canonicalPath()));

        // Off: neither timer starts anything, whatever is due.
        launcher.activate(QStringLiteral("btAutoRemind"));
        QCOMPARE(GetAppSetting(QString::fromUtf8(kSpiritKey), {}, QStringLiteral("AutoRemind"), {}), QStringLiteral("0"));
        clock.time = clock.time.addDays(1);
        launcher.reviewTick();
        launcher.reminderTick();
        QTest::qWait(300);
        QCOMPARE(m_bin.starts().size(), 3);
    }

    // The mark cannot be written: the tasks do not start (again and again) at every check.
    void unwritableMarkStartsNothing()
    {
        QFile blocker(m_word + QStringLiteral("tmpfile"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
        blocker.close();
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        SpiritLauncher launcher({}, clock, tray, starter, boxes);
        launcher.start();
        launcher.reviewTick();
        launcher.reviewTick();
        QTest::qWait(300);
        QCOMPARE(m_bin.starts(), QStringList{});
    }

    // N = -1, 0, 5, 5, 8 and the next day, with the word program's checks beside it.
    void notebookReminders()
    {
        const QString note = m_bin.folder(QStringLiteral("home")) + QStringLiteral("notebook_note");
        SetProgram(QStringLiteral("mvxbrxspecial"), QStringLiteral("NotebookFile"), note);
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        SpiritLauncher launcher({}, clock, tray, starter, boxes);
        launcher.start();
        auto topItem = [&] { return launcher.menu().first(); };
        NotebookStore store;
        auto addWords = [&](int n) {
            QVERIFY(store.open(note, note + QStringLiteral(".lib"), true));
            for (int i = 0; i < n; ++i)
                store.addWord(QStringLiteral("word%1").arg(store.count()), QStringLiteral("词"), {}, {}, {});
            store.close();
        };
        const QString title = QStringLiteral("Morvex精灵|");

        launcher.reviewTick(); // N = -1: no notebook item, no message; the review task still runs
        QCOMPARE(launcher.dueCount(), -1);
        QCOMPARE(topItem().name, QStringLiteral("btVantrel"));
        QTRY_COMPARE(m_bin.starts().size(), 1);

        addWords(0);
        launcher.reminderTick();
        QCOMPARE(launcher.dueCount(), 0);
        launcher.menuOpening();
        QCOMPARE(topItem().text, QStringLiteral("单词笔记本复习（没有到期的单词）"));
        addWords(5);
        launcher.reminderTick();
        launcher.reminderTick();
        addWords(3);
        launcher.reminderTick();
        launcher.reviewTick(); // same day: no second daily reminder
        QCOMPARE(tray.messages, (QStringList{title + QStringLiteral("单词笔记本里有 5 个单词该复习了。"),
                                             title + QStringLiteral("单词笔记本里有 8 个单词该复习了。")}));
        launcher.menuOpening();
        QCOMPARE(topItem().text, QStringLiteral("单词笔记本复习（8 个到期）"));

        clock.time = clock.time.addDays(1);
        launcher.reviewTick();
        QCOMPARE(tray.messages.size(), 3);
        QCOMPARE(tray.messages.last(), title + QStringLiteral("单词笔记本里有 8 个单词该复习了。"));
        QTRY_COMPARE(m_bin.starts().size(), 2); // the word program's tasks of the new day

        // No tray host: nothing is shown, the counting goes on.
        tray.hostPresent = false;
        addWords(2);
        launcher.reminderTick();
        QCOMPARE(tray.messages.size(), 3);
        QCOMPARE(launcher.dueCount(), 10);
    }
};

QTEST_MAIN(TestLauncherReview)
#include "test_launcher_review.moc"
