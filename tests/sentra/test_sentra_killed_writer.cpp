// A process killed while it writes a book never leaves it damaged or half-changed: the next
// opener (read-only or not) finds every change either whole or absent.
#include "SentraFixtures.h"
#include "core/SqliteDb.h"
#include "libs/sentra/SentraFacade.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

using namespace mvx::sentra;

class TestSentraKilledWriter : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesBookWhole_data();
    void killedWriterLeavesBookWhole();

private:
    // Starts the writer, lets it write for a while and kills it; true when a journal was left.
    bool runAndKill(const QString &book, const QString &mode, int afterMs);
};

bool TestSentraKilledWriter::runAndKill(const QString &book, const QString &mode, int afterMs)
{
    QProcess child;
    child.start(QStringLiteral(WRITER_CHILD), {book, mode});
    if (!child.waitForStarted(10000))
        qFatal("the writer did not start");
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(20000))
            qFatal("the writer did not start writing: %s", child.readAllStandardError().constData());
    }
    QTest::qSleep(afterMs);
    child.kill(); // SIGKILL: no clean-up of any kind
    child.waitForFinished(10000);
    return QFile::exists(book + QStringLiteral("-journal"));
}

void TestSentraKilledWriter::killedWriterLeavesBookWhole_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addRow("marks, texts and meanings") << QStringLiteral("marks");
    QTest::addRow("lessons with large sounds") << QStringLiteral("lessons");
}

void TestSentraKilledWriter::killedWriterLeavesBookWhole()
{
    QFETCH(QString, mode);
    LessonData start = fixtures::sampleLesson();
    for (auto &s : start.sentences)
        s.comment = s.chinese;
    int journals = 0;
    const int trials = 8;
    for (int trial = 0; trial < trials; ++trial) {
        const QString path = fixtures::makeBook(QStringLiteral("killed.dat"), {start});
        // Spread over several changes: a lesson takes a few hundred milliseconds to add.
        journals += runAndKill(path, mode, 5 + int(QRandomGenerator::global()->bounded(600))) ? 1 : 0;

        // The first opener is read-only, as the quiz would be.
        const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
        QVERIFY(h >= 0);
        bcSentraBook_Close(h);
        {
            mvx::SqliteDb db;
            QVERIFY(db.open(path, mvx::SqliteDb::Mode::ReadOnly));
            QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        }
        SentraBook book;
        QVERIFY2(book.open(path, true), qPrintable(book.lastError()));
        if (mode == QLatin1String("marks")) {
            for (int n = 0; n < 4; ++n) {
                const SentenceData s = *book.sentence(n);
                QCOMPARE(s.comment, s.chinese); // both texts of one change, or neither
            }
        } else {
            QVERIFY(book.lessonCount() >= 1);
            for (int l = 0; l < book.lessonCount(); ++l) {
                const std::optional<LessonData> lesson = book.readLesson(l);
                QVERIFY(lesson);
                QCOMPARE(lesson->sentences.size(), 4);
                if (l > 0)
                    QCOMPARE(lesson->sentences[3].comment, QStringLiteral("lesson %1").arg(l));
            }
            std::vector<qint16> samples;
            QVERIFY(book.cutSentence(book.sentenceCount() - 1, samples));
        }
        // The book still takes changes.
        QVERIFY(book.setDegree(1, 1));
    }
    // Some kills did land while a change was being written to the file, or the test proved
    // nothing (a journal left behind is the trace of that).
    QVERIFY2(journals > 0, "no kill happened while a change was being written");
    qInfo("%d of %d kills left a journal to roll back", journals, trials);
}

QTEST_GUILESS_MAIN(TestSentraKilledWriter)
#include "test_sentra_killed_writer.moc"
