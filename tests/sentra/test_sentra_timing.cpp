// The learner's timing nudges: the bounds as a plain function, the stored nudges used by the
// cut (sample-exact), kept across reopening, refused on a read-only book, and older books
// (real files of the first and second format) read as "no nudges" and upgraded for writing.
#include "SentraFixtures.h"
#include "core/SqliteDb.h"
#include "libs/sentra/SentraFacade.h"

#include <QtTest>

#include <cmath>

using namespace mvx::sentra;

namespace {

qint64 outIndex(qint64 ms)
{
    return qint64(std::floor(ms * 22050.0 / 1000.0 + 0.5));
}

int formatVersion(const QString &path)
{
    mvx::SqliteDb db;
    return db.open(path, mvx::SqliteDb::Mode::ReadOnly) ? db.scalar(QStringLiteral("PRAGMA user_version")).toInt()
                                                       : -1;
}

QString copyFixture(const QString &name)
{
    const QString path = fixtures::tmpDir() + u'/' + name;
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(MVX_TEST_DATA "/") + name, path))
        qFatal("cannot copy the fixture %s", qPrintable(name));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

} // namespace

class TestSentraTiming : public QObject
{
    Q_OBJECT

private slots:
    void nudgeBounds_data();
    void nudgeBounds();
    void nudgedCutIsExactAndKept();
    void readOnlyBookChangesNothing();
    void olderBooksReadWithoutNudgesAndUpgrade();
};

void TestSentraTiming::nudgeBounds_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("moveEnd");
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("earliest"); // previous sentence's start (0 for the first)
    QTest::addColumn<int>("latest");   // next sentence's end or the sound's end
    QTest::addColumn<int>("newStart");
    QTest::addColumn<int>("newEnd");

    QTest::addRow("start earlier") << 1000 << 2000 << false << -50 << 0 << 5000 << 950 << 2000;
    QTest::addRow("start later") << 1000 << 2000 << false << 10 << 0 << 5000 << 1010 << 2000;
    QTest::addRow("end later") << 1000 << 2000 << true << 50 << 0 << 5000 << 1000 << 2050;
    QTest::addRow("end earlier") << 1000 << 2000 << true << -10 << 0 << 5000 << 1000 << 1990;
    QTest::addRow("start stops at the previous start") << 1000 << 2000 << false << -50 << 980 << 5000 << 980
                                                       << 2000;
    QTest::addRow("start of a first sentence stops at 0") << 30 << 2000 << false << -50 << 0 << 5000 << 0 << 2000;
    QTest::addRow("overlap with the previous one is allowed") << 1000 << 2000 << false << -300 << 500 << 5000
                                                              << 700 << 2000;
    QTest::addRow("end stops at the next end") << 1000 << 2000 << true << 50 << 0 << 2030 << 1000 << 2030;
    QTest::addRow("end stops at the sound's end") << 1000 << 1990 << true << 50 << 0 << 2000 << 1000 << 2000;
    QTest::addRow("start keeps 100 ms") << 1000 << 1120 << false << 50 << 0 << 5000 << 1020 << 1120;
    QTest::addRow("end keeps 100 ms") << 1000 << 1120 << true << -50 << 0 << 5000 << 1000 << 1100;
    QTest::addRow("already at 100 ms, start") << 1000 << 1100 << false << 10 << 0 << 5000 << 1000 << 1100;
    QTest::addRow("already at 100 ms, end") << 1000 << 1100 << true << -10 << 0 << 5000 << 1000 << 1100;
    QTest::addRow("big step clamps, not refuses") << 1000 << 2000 << true << -5000 << 0 << 5000 << 1000 << 1100;
    QTest::addRow("a sound shorter than 100 ms: the sound's end wins") << 0 << 80 << true << 50 << 0 << 60 << 0
                                                                       << 60;
}

void TestSentraTiming::nudgeBounds()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(bool, moveEnd);
    QFETCH(int, delta);
    QFETCH(int, earliest);
    QFETCH(int, latest);
    QFETCH(int, newStart);
    QFETCH(int, newEnd);
    const TimeSpan got = NudgeSpan({start, end}, moveEnd ? SentenceEdge::End : SentenceEdge::Start, delta,
                                   {earliest, latest});
    QCOMPARE(got.startMs, newStart);
    QCOMPARE(got.endMs, newEnd);
}

// A nudged sentence is cut at its heard times, sample for sample; the neighbours and the
// maker's times stay; reopening keeps the nudge; putting it back restores the maker's cut.
void TestSentraTiming::nudgedCutIsExactAndKept()
{
    LessonData l;
    l.title = QStringLiteral("Tone");
    l.sound = fixtures::toneFile(22050, 1, 6.0);
    l.sentences = {fixtures::sentence(0, 1500, QStringLiteral("First.")),
                   fixtures::sentence(1500, 3001, QStringLiteral("The one we nudge.")),
                   fixtures::sentence(3001, 4500, QStringLiteral("Third."))};
    const QString path = fixtures::makeBook(QStringLiteral("nudge.dat"), {l});
    const QString base = fixtures::tmpDir() + QStringLiteral("/nudgesnd");
    {
        const int h = bcSentraBook_Open(path, QStringLiteral("r+b"));
        QVERIFY(h >= 0);
        QVERIFY(bcSentraBook_IsWritable(h));
        QCOMPARE(bcSentence_NudgeTime(h, 1, 0, -50), 0);
        QCOMPARE(bcSentence_NudgeTime(h, 1, 0, -10), 0);
        QCOMPARE(bcSentence_NudgeTime(h, 1, 1, 50), 0);
        QCOMPARE(bcSentence_NudgeTime(h, 1, 2, 50), -1); // no such edge
        bcSentraBook_Close(h);
    }
    const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
    int makerStart = 0, makerEnd = 0, heardStart = 0, heardEnd = 0;
    QCOMPARE(bcSentence_GetTimes(h, 1, &makerStart, &makerEnd, &heardStart, &heardEnd), 0);
    QCOMPARE(QList<int>({makerStart, makerEnd, heardStart, heardEnd}), QList<int>({1500, 3001, 1440, 3051}));
    QCOMPARE(bcSentence_GetTimes(h, 2, &makerStart, &makerEnd, &heardStart, &heardEnd), 0);
    QCOMPARE(QList<int>({makerStart, makerEnd, heardStart, heardEnd}), QList<int>({3001, 4500, 3001, 4500}));
    int written = -1;
    QFile::remove(base + ".wav");
    QCOMPARE(bcSentence_MakeSndFile(h, 1, 0, 0, &written, base, -1, 0), 0);
    bcSentraBook_Close(h);
    QCOMPARE(qint64(written), outIndex(3051) - outIndex(1440));

    SentraBook book;
    QVERIFY(book.open(path, false));
    std::vector<qint16> cut;
    QVERIFY(book.cutSentence(1, cut));
    QCOMPARE(qint64(cut.size()), outIndex(3051) - outIndex(1440));
    double err = 0;
    for (size_t i = 0; i < cut.size(); ++i) {
        const double d = cut[i] - fixtures::toneSample(outIndex(1440) + qint64(i), 22050, 0) * 32768.0;
        err += d * d;
    }
    err = std::sqrt(err / double(cut.size()));
    QVERIFY2(err <= 1.0, qPrintable(QStringLiteral("RMS error %1: the cut is not at the heard times").arg(err)));

    // Undo to an earlier span, then back to the maker's times.
    QVERIFY(book.open(path, true));
    QVERIFY(book.setHeardTimes(1, {1450, 3001}));
    QVERIFY(!book.setHeardTimes(1, {1450, 1500})); // shorter than 100 ms
    QVERIFY(!book.setHeardTimes(1, {-1, 3001}));   // before the previous start
    QCOMPARE(book.sentence(1)->heardStartMs(), 1450);
    QVERIFY(book.restoreSentenceTimes(1));
    QVERIFY(book.cutSentence(1, cut));
    QCOMPARE(qint64(cut.size()), outIndex(3001) - outIndex(1500));
    mvx::SqliteDb db;
    QVERIFY(db.open(path, mvx::SqliteDb::Mode::ReadOnly));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM time_nudge")).toInt(), 0);
}

void TestSentraTiming::readOnlyBookChangesNothing()
{
    const QString path = fixtures::makeBook(QStringLiteral("nudgero.dat"), {fixtures::sampleLesson()});
    const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
    QVERIFY(h >= 0);
    QVERIFY(!bcSentraBook_IsWritable(h));
    QCOMPARE(bcSentence_NudgeTime(h, 1, 0, -50), -1);
    QCOMPARE(bcSentence_SetHeardTimes(h, 1, 1100, 3000), -1);
    QCOMPARE(bcSentence_RestoreTimes(h, 1), -1);
    int heardStart = 0;
    QCOMPARE(bcSentence_GetTimes(h, 1, nullptr, nullptr, &heardStart, nullptr), 0);
    QCOMPARE(heardStart, 1200);
    bcSentraBook_Close(h);
}

// Real books of the first (no sound) and second format (a 2.5 s sound; sentence 1 runs from
// 1000 to 2000 ms and has a dictation result).
void TestSentraTiming::olderBooksReadWithoutNudgesAndUpgrade()
{
    const QString v2 = copyFixture(QStringLiteral("book_format2.dat"));
    {
        SentraBook book;
        QVERIFY2(book.open(v2, false), qPrintable(book.lastError()));
        QCOMPARE(book.sentence(1)->heardStartMs(), 1000);
        QVERIFY(!book.nudgeSentence(1, SentenceEdge::Start, -50));
        std::vector<qint16> cut;
        QVERIFY2(book.cutSentence(1, cut), qPrintable(book.lastError()));
        QCOMPARE(qint64(cut.size()), outIndex(2000) - outIndex(1000));
    }
    QCOMPARE(formatVersion(v2), 2);
    {
        SentraBook book;
        QVERIFY2(book.open(v2, true), qPrintable(book.lastError()));
        QCOMPARE(formatVersion(v2), SentraBook::FormatVersion);
        QVERIFY(book.dictation(1)); // kept through the upgrade
        const auto heard = book.nudgeSentence(1, SentenceEdge::End, 800);
        QVERIFY2(heard, qPrintable(book.lastError()));
        QCOMPARE(heard->endMs, 2500); // the end of the sound
        QCOMPARE(book.nudgeSentence(1, SentenceEdge::Start, -2000)->startMs, 0); // the previous start
    }
    SentraBook book;
    QVERIFY(book.open(v2, false));
    std::vector<qint16> cut;
    QVERIFY(book.cutSentence(1, cut));
    QCOMPARE(qint64(cut.size()), outIndex(2500));
    QCOMPARE(book.sentence(1)->startMs, 1000); // the maker's times stay
    QCOMPARE(book.sentence(1)->endMs, 2000);

    const QString v1 = copyFixture(QStringLiteral("book_format1.dat"));
    {
        SentraBook old;
        QVERIFY(old.open(v1, false));
        QCOMPARE(old.sentence(1)->heardEndMs(), 2000);
    }
    QCOMPARE(formatVersion(v1), 1);
    SentraBook upgraded;
    QVERIFY(upgraded.open(v1, true));
    upgraded.close();
    QCOMPARE(formatVersion(v1), SentraBook::FormatVersion);
    mvx::SqliteDb db;
    QVERIFY(db.open(v1, mvx::SqliteDb::Mode::ReadOnly));
    QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM time_nudge")).isValid());
    QCOMPARE(db.scalar(QStringLiteral("SELECT english FROM sentence WHERE no_in_all = 1")).toString(),
             QStringLiteral("The river rose in May."));
}

QTEST_GUILESS_MAIN(TestSentraTiming)
#include "test_sentra_timing.moc"
