// The listening history: the hard-sentence score and ranking as tables, batched writes (at
// most once a second of the caller's clock, and on close), a damaged or foreign file set
// aside for a fresh one, sentences the book no longer has skipped, and the command-line
// report over a real book.
#include "../sentra/SentraFixtures.h"

#include "core/SqliteDb.h"
#include "player/history/HistoryReport.h"
#include "player/history/StudyRecorder.h"

#include <QProcess>
#include <QtTest>

using namespace mvx;

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(20, 0));

QString freshPath(const QString &name)
{
    const QString path = fixtures::tmpDir() + u'/' + name;
    QDir dir(fixtures::tmpDir());
    for (const QString &f : dir.entryList({name + QStringLiteral("*")}))
        QFile::remove(dir.filePath(f));
    return path;
}

// Repeats of sentence noInAll as stored in the file (what a killed process would leave).
int StoredRepeats(const QString &path, int noInAll)
{
    SqliteDb db;
    if (!db.open(path, SqliteDb::Mode::ReadOnly))
        return -1;
    return db.scalar(QStringLiteral("SELECT repeats FROM sentence_heard WHERE no_in_all = %1").arg(noInAll), 0).toInt();
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void score_data()
    {
        QTest::addColumn<int>("repeats");
        QTest::addColumn<int>("lookups");
        QTest::addColumn<int>("right");    // -1: no dictation check
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<double>("score");
        QTest::addRow("played only") << 0 << 0 << -1 << 0 << 0 << 0.0;
        QTest::addRow("repeats count one each") << 4 << 0 << -1 << 0 << 0 << 4.0;
        QTest::addRow("look-ups count three") << 1 << 2 << -1 << 0 << 0 << 7.0;
        QTest::addRow("dictation: share missed times ten") << 0 << 0 << 3 << 5 << 2 << 4.0;
        QTest::addRow("all right adds nothing") << 2 << 0 << 5 << 5 << 2 << 2.0;
        QTest::addRow("a check 30 days old still counts") << 0 << 0 << 0 << 4 << 30 << 10.0;
        QTest::addRow("an older check does not") << 1 << 0 << 0 << 4 << 31 << 1.0;
        QTest::addRow("a check of no words does not") << 1 << 0 << 0 << 0 << 1 << 1.0;
        QTest::addRow("more right than words is held at none missed") << 0 << 1 << 7 << 5 << 1 << 3.0;
    }
    void score()
    {
        QFETCH(int, repeats);
        QFETCH(int, lookups);
        QFETCH(int, right);
        QFETCH(int, total);
        QFETCH(int, daysAgo);
        QFETCH(double, score);
        SentenceCounts c;
        c.plays = 9;
        c.repeats = repeats;
        c.lookups = lookups;
        std::optional<DictationMark> d;
        if (right >= 0)
            d = DictationMark{right, total, kNow.addDays(-daysAgo)};
        QCOMPARE(HardnessScore(c, d, kNow), score);
    }

    void ranking()
    {
        const auto counts = [](int no, int repeats, int lookups, int minutesAgo) {
            SentenceCounts c;
            c.noInAll = no;
            c.repeats = repeats;
            c.lookups = lookups;
            c.lastHeard = kNow.addSecs(-60 * minutesAgo);
            return c;
        };
        const QList<SentenceCounts> all{counts(10, 3, 0, 5), counts(11, 0, 0, 1), counts(12, 0, 1, 9),
                                        counts(13, 3, 0, 2), counts(14, 1, 0, 1), counts(15, 3, 0, 2)};
        // Sentence 14's dictation missed half its words: 1 + 5.
        const auto dictation = [](int no) -> std::optional<DictationMark> {
            if (no == 14)
                return DictationMark{2, 4, kNow.addDays(-1)};
            return std::nullopt;
        };
        QList<int> order;
        for (const HardSentence &h : HardestSentences(all, dictation, kNow, 10))
            order << h.counts.noInAll;
        // 14 (6), then 3 points each: heard last first, then the earlier sentence; never 11.
        QCOMPARE(order, QList<int>({14, 13, 15, 10, 12}));
        QCOMPARE(HardestSentences(all, dictation, kNow, 2).size(), 2);
        QVERIFY(HardestSentences(all, dictation, kNow, 0).isEmpty());
    }

    // Counts wait in memory and go to the file together, at most once a second; closing writes
    // the rest; reopening adds to what was there.
    void batchedWrites()
    {
        const QString path = freshPath(QStringLiteral("batched.db"));
        const QString book = QStringLiteral("/books/a.dat");
        {
            ListeningHistory h(path);
            QVERIFY2(h.IsOpen() && h.Notice().isEmpty(), qPrintable(h.Notice()));
            h.Count(book, 2, 40, ListeningHistory::Heard::Repeated, kNow);
            QVERIFY(h.FlushIfDue(10'000));
            QCOMPARE(StoredRepeats(path, 40), 1);
            h.Count(book, 2, 40, ListeningHistory::Heard::Repeated, kNow.addSecs(1));
            QVERIFY(!h.FlushIfDue(10'999)); // within the second: kept back
            QCOMPARE(StoredRepeats(path, 40), 1);
            QVERIFY(h.FlushIfDue(11'000));
            QCOMPARE(StoredRepeats(path, 40), 2);
            h.Count(book, 2, 40, ListeningHistory::Heard::Repeated, kNow.addSecs(2));
            h.Count(book, 2, 41, ListeningHistory::Heard::Played, kNow.addSecs(3));
            h.Count(book, 2, 41, ListeningHistory::Heard::LookedUp, kNow.addSecs(60));
            h.AddStudyTime(book, 2, kNow.date(), 90'000);
            h.AddStudyTime(book, 2, kNow.date(), 30'000);
            h.AddStudyTime(book, 3, kNow.date().addDays(-1), 60'000);
        }
        QCOMPARE(StoredRepeats(path, 40), 3);
        ListeningHistory h(path);
        h.Count(book, 2, 41, ListeningHistory::Heard::Played, kNow.addSecs(4));
        const QList<SentenceCounts> s = h.LessonSentences(book, 2);
        QCOMPARE(s.size(), 2);
        QCOMPARE(s[0].noInAll, 40);
        QCOMPARE(s[0].repeats, 3);
        QCOMPARE(s[1].plays, 2);
        QCOMPARE(s[1].lookups, 1);
        QCOMPARE(s[1].lastHeard, kNow.addSecs(4)); // a look-up is not a listen
        QCOMPARE(h.StudyTimePerDay(book, 2), (QMap<QDate, qint64>{{kNow.date(), 120'000}}));
        QCOMPARE(h.Lessons().size(), 2);
    }

    // Study time grows only while listening, by the steady clock's ticks (a long gap counts as
    // at most two seconds); heard sentences count for the lesson open.
    void recorderTicks()
    {
        const QString path = freshPath(QStringLiteral("recorder.db"));
        ListeningHistory h(path);
        StudyRecorder r(h);
        const QDate day = kNow.date();
        r.Tick(0, true, day); // no lesson yet
        r.SetLesson(QStringLiteral("/books/r.dat"), 4);
        r.Tick(100, true, day); // the first tick of a lesson only starts the clock
        r.Tick(350, true, day);
        r.Tick(600, false, day);
        r.Tick(850, true, day);
        r.Tick(60'850, true, day); // the machine slept
        r.Heard(17, ListeningHistory::Heard::Repeated, kNow);
        r.Close();
        r.Heard(18, ListeningHistory::Heard::Repeated, kNow); // no lesson open: not counted
        QCOMPARE(h.StudyTimePerDay(QStringLiteral("/books/r.dat"), 4), (QMap<QDate, qint64>{{day, 250 + 250 + 2000}}));
        const QList<SentenceCounts> s = h.LessonSentences(QStringLiteral("/books/r.dat"), 4);
        QCOMPARE(s.size(), 1);
        QCOMPARE(s[0].noInAll, 17);
        QVERIFY(!h.HasPending());
    }

    // A damaged file, or one that is no history, is set aside under a new name and a fresh
    // history started; the learner is told.
    void damagedFileSetAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addRow("not a database") << QByteArray("this is not SQLite at all, just some text\n").repeated(200);
        QTest::addRow("a database of something else") << QByteArray();
        QTest::addRow("a history whose table lost a column") << QByteArray("lost a column");
        QTest::addRow("an index out of step with its table") << QByteArray("index out of step");
        QTest::addRow("a header of a newer file format") << QByteArray("newer write format");
    }
    void damagedFileSetAside()
    {
        QFETCH(QByteArray, content);
        const QString path = freshPath(QStringLiteral("damaged.db"));
        if (content.isEmpty()) {
            SqliteDb other;
            QVERIFY(other.open(path, SqliteDb::Mode::ReadWriteCreate));
            QVERIFY(other.exec(QStringLiteral("CREATE TABLE t (x); INSERT INTO t VALUES (1);")));
        } else if (content == "newer write format") {
            {
                ListeningHistory first(path);
                first.Count(QStringLiteral("a.dat"), 0, 1, ListeningHistory::Heard::Played, kNow);
            }
            // Byte 18 is the format a writer needs: any SQLite then opens the file read-only
            // (found by fuzzing: every write failed, and the counts were lost unsaid).
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            content = f.readAll();
            content[18] = 3;
            QVERIFY(f.seek(0) && f.write(content) == content.size());
        } else if (content == "lost a column" || content == "index out of step") {
            {
                ListeningHistory first(path);
                first.Count(QStringLiteral("a.dat"), 0, 1, ListeningHistory::Heard::Played, kNow);
                first.AddStudyTime(QStringLiteral("a.dat"), 0, kNow.date(), 60'000);
            }
            SqliteDb db;
            QVERIFY(db.open(path, SqliteDb::Mode::ReadWrite));
            if (content == "lost a column") {
                QVERIFY(db.exec(QStringLiteral("ALTER TABLE sentence_heard DROP COLUMN lookups")));
            } else {
                // Two indexes trade places: only SQLite's full check sees it (found by fuzzing).
                const qint64 a = db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'sentence_heard_lesson'")).toLongLong();
                const qint64 b = db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'sqlite_autoindex_study_day_1'")).toLongLong();
                QVERIFY(a > 0 && b > 0);
                QVERIFY(db.exec(QStringLiteral("PRAGMA writable_schema = ON")));
                QVERIFY(db.exec(QStringLiteral("UPDATE sqlite_master SET rootpage = %1 WHERE name = 'sentence_heard_lesson'").arg(b)));
                QVERIFY(db.exec(QStringLiteral("UPDATE sqlite_master SET rootpage = %1 WHERE name = 'sqlite_autoindex_study_day_1'").arg(a)));
            }
            content.clear(); // no byte comparison: SQLite rewrote the file
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        ListeningHistory h(path);
        QVERIFY(h.IsOpen());
        QVERIFY(h.Notice().contains(QStringLiteral("重新开始记录")));
        const QStringList aside = QDir(fixtures::tmpDir()).entryList({QStringLiteral("damaged.db.damaged-*")});
        QCOMPARE(aside.size(), 1);
        if (!content.isEmpty()) {
            QFile f(QDir(fixtures::tmpDir()).filePath(aside.first()));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content); // kept as it was
        }
        h.Count(QStringLiteral("b.dat"), 0, 1, ListeningHistory::Heard::Repeated, kNow);
        QVERIFY(h.Flush());
        QCOMPARE(StoredRepeats(path, 1), 1);
    }

    // The report over a real book: sentences the lesson no longer has are skipped, the book's
    // dictation result counts, and the command-line tool prints the same lines.
    void reportAndTool()
    {
        const QString bookPath = fixtures::makeBook(QStringLiteral("history.dat"), {fixtures::sampleLesson()});
        {
            sentra::SentraBook b;
            QVERIFY(b.open(bookPath, true));
            QVERIFY(b.setDictation(3, 1, 8, QDateTime::currentDateTime().addDays(-1)));
        }
        const QString path = freshPath(QStringLiteral("report.db"));
        const QString book = ListeningHistory::BookKey(bookPath);
        const QDateTime now = QDateTime::currentDateTime();
        {
            ListeningHistory h(path);
            for (int i = 0; i < 4; ++i)
                h.Count(book, 0, 1, ListeningHistory::Heard::Repeated, now.addSecs(-100));
            h.Count(book, 0, 2, ListeningHistory::Heard::LookedUp, now.addSecs(-50));
            h.Count(book, 0, 2, ListeningHistory::Heard::Played, now.addSecs(-50));
            h.Count(book, 0, 3, ListeningHistory::Heard::Played, now.addSecs(-10));
            h.Count(book, 0, 99, ListeningHistory::Heard::Repeated, now); // no longer in the book
            h.AddStudyTime(book, 0, now.date(), 150'000);
        }
        ListeningHistory h(path);
        const LessonReport r = MakeLessonReport(h, book, 0, 10, now);
        QCOMPARE(r.title, QStringLiteral("Rain in Spring"));
        QList<int> order;
        for (const HardSentenceRow &row : r.hardest)
            order << row.noInLesson;
        QCOMPARE(order, QList<int>({3, 1, 2})); // 8.75, 4, 3
        QCOMPARE(r.hardest[1].english, QStringLiteral("Farmers in the north said the rain came early."));
        const QStringList lines = ReportLines(r);
        QCOMPARE(lines[0], QStringLiteral("lesson\t%1\t0\tRain in Spring\t1\t2.5").arg(book));
        QCOMPARE(lines[1], QStringLiteral("day\t%1\t2.5").arg(now.date().toString(Qt::ISODate)));
        QVERIFY(lines[3].startsWith(QStringLiteral("hard\t2\t1\t4\t4\t0\t0\t")));

        QProcess p;
        p.start(QStringLiteral(MVX_HOME "/mvxbrx-history"),
                {QStringLiteral("--file"), path, QStringLiteral("--lesson"), bookPath + QStringLiteral(":0"),
                 QStringLiteral("--hard"), QStringLiteral("2")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QStringList printed = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), 4); // lesson, one day, two hard sentences
        QCOMPARE(printed.mid(0, 3), lines.mid(0, 3));
        p.start(QStringLiteral(MVX_HOME "/mvxbrx-history"), {QStringLiteral("--file"), path});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), lines[0]);
        // A book that is gone (moved, on a disc not in the drive): the days stay, no sentences.
        QVERIFY(QFile::rename(bookPath, bookPath + QStringLiteral(".away")));
        const LessonReport gone = MakeLessonReport(h, book, 0, 10, now);
        QVERIFY(QFile::rename(bookPath + QStringLiteral(".away"), bookPath));
        QCOMPARE(gone.DaysStudied(), 1);
        QVERIFY(gone.hardest.isEmpty());
        QCOMPARE(ReportLines(gone).size(), 2); // lesson, one day

        p.start(QStringLiteral(MVX_HOME "/mvxbrx-history"), {QStringLiteral("--lesson"), QStringLiteral("nocolon")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
