// A notebook whose writer is killed at any moment (SIGKILL, no clean-up) still opens as it
// is, passes SQLite's integrity check in both of its files, and holds every change whole
// (a word's meaning, third text and example, which lives in the companion file, all from
// the same change) or not at all, with every change the writer had reported done.
#include "notedict/NotebookStore.h"

#include "core/SqliteDb.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;

namespace {

constexpr int kWords = 12;

// Change n writes word "w<n mod kWords>" with meaning, third and example all marked n:
// the first round adds the words, later rounds update them.
QString WordOf(int n)
{
    return QStringLiteral("w%1").arg(n % kWords);
}

// The child: changes the notebook as fast as it can and prints "ok n" after each commit.
int WriteForever(const QString &note)
{
    NotebookStore store;
    if (!store.open(note, note + QStringLiteral(".lib"), false))
        return 2;
    QTextStream out(stdout);
    for (int n = 0;; ++n) {
        const QString mark = QString::number(n);
        if (store.addWord(WordOf(n), QStringLiteral("m") + mark, QStringLiteral("t") + mark,
                          QStringLiteral("#kbt|book.dat|%1").arg(n % 500), QStringLiteral("e") + mark)
            == NotebookStore::AddResult::Failed)
            return 3;
        out << "ok " << n << Qt::endl;
    }
}

// The change a word's texts come from, or -1 when they do not agree.
int ChangeOf(const NoteWord &w)
{
    const QString n = w.meaning.mid(1);
    return w.meaning == QStringLiteral("m") + n && w.third == QStringLiteral("t") + n
                   && w.example == QStringLiteral("e") + n
               ? n.toInt()
               : -1;
}

} // namespace

class TestNotedictKilledWriter : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesChangesWhole()
    {
        int journals = 0;
        for (int trial = 0; trial < 16; ++trial) {
            QTemporaryDir dir(QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/killedXXXXXX"));
            const QString note = dir.filePath(QStringLiteral("brxspecial_note"));
            {
                NotebookStore store;
                QVERIFY(store.open(note, note + QStringLiteral(".lib"), true));
            }
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--write-forever"), note});
            QVERIFY(child.waitForStarted());
            QVERIFY2(child.waitForReadyRead(20000), child.readAllStandardError().constData());
            QTest::qSleep(int(QRandomGenerator::global()->bounded(400)));
            child.kill();
            QVERIFY(child.waitForFinished());
            int last = -1;
            for (const QByteArray &line : child.readAllStandardOutput().split('\n'))
                if (line.startsWith("ok "))
                    last = line.mid(3).toInt();
            QVERIFY(last >= 0);
            journals += QFile::exists(note + QStringLiteral("-journal"))
                                || QFile::exists(note + QStringLiteral(".lib-journal"))
                            ? 1
                            : 0;

            // It opens as it is: nothing is set aside as damaged.
            NotebookStore store;
            QVERIFY2(store.open(note, note + QStringLiteral(".lib"), false), qPrintable(store.errorText()));
            QVERIFY2(store.message().isEmpty(), qPrintable(store.message()));
            const QList<NoteWord> words = store.words();
            store.close();
            for (const QString &file : {note, note + QStringLiteral(".lib")}) {
                SqliteDb db;
                QVERIFY(db.open(file, SqliteDb::Mode::ReadOnly));
                QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
            }

            // Each word holds the last change reported for it, or the one in flight after it.
            QVERIFY(words.size() >= qMin(last + 1, kWords) && words.size() <= qMin(last + 2, kWords));
            for (const NoteWord &w : words) {
                const int n = ChangeOf(w);
                QVERIFY2(n >= 0, qPrintable(w.word + QLatin1Char(' ') + w.meaning + QLatin1Char(' ') + w.example));
                QCOMPARE(WordOf(n), w.word);
                const int j = w.word.mid(1).toInt();
                const int reported = last - ((last - j) % kWords + kWords) % kWords; // < 0: none reported
                QVERIFY2(n == reported || n == last + 1,
                         qPrintable(QStringLiteral("%1 holds change %2, last reported %3").arg(w.word).arg(n).arg(last)));
            }
        }
        qInfo("%d of 16 kills left a journal to roll back", journals);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--write-forever") == 0)
        return WriteForever(QString::fromLocal8Bit(argv[2]));
    TestNotedictKilledWriter t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_notedict_killed_writer.moc"
