// The notebook's review schedule on real files: a format-1 notebook upgraded whole, a newer
// one refused untouched, saving again keeps a word's schedule and its earlier sources,
// answers stored one transaction each (also when the process is killed mid-review), due
// counts at set times, and the review queue.
#include "notedict/NoteDictLib.h"
#include "notedict/NoteReviewModel.h"
#include "notedict/NotebookStore.h"

#include "core/SqliteDb.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;
using Grade = ReviewSchedule::Grade;

namespace {

QString Tmp()
{
    return QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/schedXXXXXX");
}

QByteArray Hash(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

// Copies the format-1 fixture (made by the first notebook release) into dir.
QString CopyV1(const QTemporaryDir &dir)
{
    const QString note = dir.filePath(QStringLiteral("brxspecial_note"));
    QFile::copy(QStringLiteral(MVX_TEST_DATA "/notebook-v1"), note);
    QFile::copy(QStringLiteral(MVX_TEST_DATA "/notebook-v1.lib"), note + QStringLiteral(".lib"));
    QFile::setPermissions(note, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(note + QStringLiteral(".lib"), QFile::ReadOwner | QFile::WriteOwner);
    return note;
}

qint64 Ms(int year, int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute)).toMSecsSinceEpoch();
}

// The child of killedWhileAnswering: answers "good" for the notebook's words in a loop and
// prints each answer once it is committed.
int AnswerForever(const QString &note)
{
    NotebookStore store;
    if (!store.open(note, note + QStringLiteral(".lib"), false))
        return 2;
    const QList<NoteWord> words = store.words();
    QTextStream out(stdout);
    QDateTime now(QDate(2026, 5, 1), QTime(12, 0));
    for (int i = 0;; ++i) {
        if (!store.answer(words.at(i % words.size()).id, Grade::Good, now))
            return 3;
        out << "ok " << i + 1 << Qt::endl;
        now = now.addSecs(60);
    }
}

} // namespace

class TestNotedictSchedule : public QObject
{
    Q_OBJECT

private slots:
    // The fixture's three words were added on 2026-01-05 around 10:00 UTC.
    void upgradesFormatOne()
    {
        QTemporaryDir dir(Tmp());
        const QString note = CopyV1(dir);
        QCOMPARE(bcNote_DueCount(note), 3); // read as it is: every word due
        NotebookStore store;
        QVERIFY(store.open(note, note + QStringLiteral(".lib"), false));
        QVERIFY(store.message().isEmpty());
        const NoteWord harvest = store.find(QStringLiteral("harvest"));
        QCOMPARE(harvest.meaning, QStringLiteral("n. 收获"));
        QCOMPARE(harvest.example, QStringLiteral("The harvest was good this year."));
        QCOMPARE(harvest.review.dueMs, harvest.added.toMSecsSinceEpoch());
        QCOMPARE(harvest.review.ease, 250);
        QCOMPARE(harvest.review.reps, 0);
        NoteSourceRef lesson = NoteSourceRef::parse(QStringLiteral("#kbt|文化习俗.dat|50|60"));
        QCOMPARE(store.words(lesson).size(), 2);
        store.close();
        SqliteDb db;
        QVERIFY(db.open(note, SqliteDb::Mode::ReadOnly));
        QCOMPARE(db.scalar(QStringLiteral("SELECT value FROM meta WHERE key='version'")).toString(), QStringLiteral("2"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM sources")).toInt(), 2);
        QVERIFY(db.checkIntegrity());
        QCOMPARE(NotebookStore::dueCount(note, 200, Ms(2026, 1, 4, 12)), 0);
        QCOMPARE(NotebookStore::dueCount(note, 200, Ms(2026, 1, 6, 12)), 3);
    }

    // A notebook of a newer program is neither opened, counted, upgraded nor set aside, also
    // when that program changed the words table.
    void refusesNewerFormat_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("same tables") << QString();
        QTest::newRow("a column renamed") << QStringLiteral("ALTER TABLE words RENAME COLUMN third TO phonetic");
    }
    void refusesNewerFormat()
    {
        QFETCH(QString, change);
        QTemporaryDir dir(Tmp());
        const QString note = CopyV1(dir);
        {
            SqliteDb db;
            QVERIFY(db.open(note, SqliteDb::Mode::ReadWrite));
            QVERIFY(db.exec(QStringLiteral("UPDATE meta SET value='3' WHERE key='version'")));
            QVERIFY(change.isEmpty() || db.exec(change));
        }
        const QByteArray before = Hash(note);
        NotebookStore store;
        QVERIFY(!store.open(note, note + QStringLiteral(".lib"), true));
        QVERIFY(store.errorText().contains(QStringLiteral("较新版本")));
        QCOMPARE(bcNote_DueCount(note), -1);
        QCOMPARE(bcNote_AddWord(note, note + QStringLiteral(".lib"), QStringLiteral("new"), QStringLiteral("新的"), {}, {}, {}), 0);
        QCOMPARE(Hash(note), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    // Saving a word again keeps its schedule; each lesson keeps the word in its list, and
    // the source shown is the one inside the list's range, else the latest.
    void savingAgainKeepsScheduleAndSources()
    {
        QTemporaryDir dir(Tmp());
        const QString note = dir.filePath(QStringLiteral("brxspecial_note"));
        NotebookStore store;
        QVERIFY(store.open(note, note + QStringLiteral(".lib"), true));
        QCOMPARE(store.addWord("harvest", "收获", {}, "#kbt|a.dat|12", "Lesson A's sentence."), NotebookStore::AddResult::Added);
        const qint64 id = store.find("harvest").id;
        ReviewState after;
        QVERIFY(store.answer(id, Grade::Good, QDateTime(QDate(2026, 5, 1), QTime(9, 0)), &after));
        QCOMPARE(store.addWord("harvest", "收获；收成", {}, "#kbt|b.dat|40", "Lesson B's sentence."), NotebookStore::AddResult::Updated);
        const NoteWord w = store.find("harvest");
        QCOMPARE(w.review.dueMs, after.dueMs);
        QCOMPARE(w.review.reps, 1);
        QCOMPARE(w.meaning, QStringLiteral("收获；收成"));
        const auto a = store.words(NoteSourceRef::parse("#kbt|a.dat|10|20"));
        QCOMPARE(a.size(), 1);
        QCOMPARE(a.first().source, QStringLiteral("#kbt|a.dat|12"));
        QCOMPARE(a.first().example, QStringLiteral("Lesson A's sentence."));
        QCOMPARE(store.words(NoteSourceRef::parse("#kbt|b.dat|30|50")).first().source, QStringLiteral("#kbt|b.dat|40"));
        QCOMPARE(store.words().first().source, QStringLiteral("#kbt|b.dat|40")); // the latest
        QCOMPARE(store.words({}, NoteSourceRef::parse("#kbt|a.dat|10|20")).first().source, QStringLiteral("#kbt|a.dat|12"));
        QVERIFY(store.removeWord(id));
        QVERIFY(store.words(NoteSourceRef::parse("#kbt|a.dat|10|20")).isEmpty());
    }

    // The due count at set times, and the review queue it matches.
    void dueAtSetTimes_data()
    {
        QTest::addColumn<qint64>("at");
        QTest::addColumn<int>("due");
        QTest::addRow("before any was added") << Ms(2026, 4, 30, 12) << 0;
        QTest::addRow("added, one answered good") << Ms(2026, 5, 1, 12) << 2;
        QTest::addRow("answered good: gone till 04:00 tomorrow") << Ms(2026, 5, 2, 3, 59) << 2;
        QTest::addRow("back at 04:00") << Ms(2026, 5, 2, 4, 0) << 3;
    }
    void dueAtSetTimes()
    {
        QFETCH(qint64, at);
        QFETCH(int, due);
        QTemporaryDir dir(Tmp());
        const QString note = dir.filePath(QStringLiteral("brxspecial_note"));
        {
            NotebookStore store;
            QVERIFY(store.open(note, note + QStringLiteral(".lib"), true));
            for (const char *w : {"ability", "borrow", "climate"})
                QVERIFY(store.addWord(w, "意思", {}, {}, {}) == NotebookStore::AddResult::Added);
            SqliteDb db; // added at 08:00 on 1 May
            QVERIFY(db.open(note, SqliteDb::Mode::ReadWrite));
            QVERIFY(db.exec(QStringLiteral("UPDATE words SET added=%1, due=%1").arg(Ms(2026, 5, 1, 8))));
            QVERIFY(store.answer(store.find("borrow").id, Grade::Good, QDateTime(QDate(2026, 5, 1), QTime(9, 0))));
        }
        QCOMPARE(NotebookStore::dueCount(note, 200, at), due);
        NoteReviewModel review;
        QCOMPARE(review.load(note, note + QStringLiteral(".lib"), {}, QDateTime::fromMSecsSinceEpoch(at)), due);
    }

    // Earliest due first; a word is graded only once revealed; "again" comes back last.
    void reviewQueue()
    {
        QTemporaryDir dir(Tmp());
        const QString note = CopyV1(dir);
        NoteReviewModel review;
        const QDateTime now(QDate(2026, 2, 1), QTime(10, 0));
        QCOMPARE(review.load(note, note + QStringLiteral(".lib"), {}, now), 3);
        QCOMPARE(review.current().word, QStringLiteral("harvest"));
        QCOMPARE(review.remainingText(), QStringLiteral("还剩 3 个"));
        QVERIFY(!review.answer(Grade::Good, now)); // not revealed yet
        review.reveal();
        QCOMPARE(review.gradeCaption(Grade::Good), QStringLiteral("记得 (1天)"));
        QVERIFY(review.answer(Grade::Again, now));
        QCOMPARE(review.current().word, QStringLiteral("drought"));
        review.reveal();
        QVERIFY(review.answer(Grade::Easy, now));
        review.reveal();
        QVERIFY(review.answer(Grade::Good, now));
        QCOMPARE(review.current().word, QStringLiteral("harvest"));
        QCOMPARE(review.remaining(), 1);
        QCOMPARE(review.answered(), 3);
        // Range: only the lesson's words.
        NoteReviewModel lesson;
        QCOMPARE(lesson.load(note, note + QStringLiteral(".lib"), QStringLiteral("#kbt|文化习俗.dat|50|60"), now.addDays(30)), 2);
    }

    // Schedule values out of range in the file are clamped when read.
    void clampsStoredValues()
    {
        QTemporaryDir dir(Tmp());
        const QString note = CopyV1(dir);
        {
            NotebookStore store;
            QVERIFY(store.open(note, note + QStringLiteral(".lib"), false));
        }
        SqliteDb db;
        QVERIFY(db.open(note, SqliteDb::Mode::ReadWrite));
        QVERIFY(db.exec(QStringLiteral("UPDATE words SET ease=50, interval=-7, reps=-2")));
        NotebookStore store;
        QVERIFY(store.open(note, note + QStringLiteral(".lib"), false));
        const NoteWord w = store.find(QStringLiteral("drought"));
        QCOMPARE(w.review.ease, ReviewState::MinEase);
        QCOMPARE(w.review.interval, 0);
        ReviewState after;
        QVERIFY(store.answer(w.id, Grade::Good, QDateTime(QDate(2026, 2, 1), QTime(10, 0)), &after));
        QCOMPARE(after.interval, 1);
    }

    // A review killed while answering leaves a sound file holding every acknowledged answer,
    // and at most the one in flight besides.
    void killedWhileAnswering()
    {
        QTemporaryDir dir(Tmp());
        const QString note = CopyV1(dir);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--answer-forever"), note});
        QVERIFY(child.waitForStarted());
        int acknowledged = 0;
        while (acknowledged < 25 && child.waitForReadyRead(10000)) {
            while (child.canReadLine())
                if (child.readLine().startsWith("ok "))
                    ++acknowledged;
        }
        child.kill();
        QVERIFY(child.waitForFinished());
        while (child.canReadLine())
            if (child.readLine().startsWith("ok "))
                ++acknowledged;
        QVERIFY(acknowledged >= 25);
        SqliteDb db;
        QVERIFY(db.open(note, SqliteDb::Mode::ReadWrite));
        QVERIFY(db.checkIntegrity());
        const int reviews = db.scalar(QStringLiteral("SELECT sum(reviews) FROM words")).toInt();
        QVERIFY2(reviews == acknowledged || reviews == acknowledged + 1,
                 qPrintable(QStringLiteral("%1 reviews, %2 acknowledged").arg(reviews).arg(acknowledged)));
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--answer-forever") == 0) {
        QCoreApplication app(argc, argv);
        return AnswerForever(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestNotedictSchedule t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_notedict_schedule.moc"
