// Counting a notebook's due words without touching it: real notebook files, including
// damaged, foreign, newer and locked ones, are read and left byte for byte as they were.
#include "notedict/NoteDictLib.h"
#include "notedict/NotebookStore.h"

#include "core/SqliteDb.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;

namespace {

// Every file of the folder with its contents' hash: what "untouched" means.
QMap<QString, QByteArray> Snapshot(const QString &folder)
{
    QMap<QString, QByteArray> out;
    for (const QFileInfo &fi : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        QFile f(fi.filePath());
        if (f.open(QIODevice::ReadOnly))
            out.insert(fi.fileName(), QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256));
    }
    return out;
}

void MakeNotebook(const QString &file, const QStringList &words)
{
    NotebookStore store;
    QVERIFY(store.open(file, file + QStringLiteral(".lib"), true));
    for (const QString &w : words)
        QVERIFY(store.addWord(w, QStringLiteral("意思"), {}, {}, {}) != NotebookStore::AddResult::Failed);
}

void RunSql(const QString &file, const QString &sql)
{
    SqliteDb db;
    QVERIFY(db.open(file, SqliteDb::Mode::ReadWriteCreate));
    QVERIFY2(db.exec(sql), qPrintable(db.lastError()));
}

} // namespace

class TestNotedictDueCount : public QObject
{
    Q_OBJECT

private slots:
    void countsOrRefuses_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("expected");
        QTest::newRow("today's format counts every word") << "words" << 5;
        QTest::newRow("empty notebook") << "empty" << 0;
        QTest::newRow("missing") << "missing" << -1;
        QTest::newRow("not a database") << "text" << -1;
        QTest::newRow("truncated") << "truncated" << -1;
        QTest::newRow("foreign database") << "foreign" << -1;
        QTest::newRow("another program's meta") << "otherformat" << -1;
        QTest::newRow("newer format") << "newer" << -1;
        QTest::newRow("version not a number") << "badversion" << -1;
    }

    void countsOrRefuses()
    {
        QFETCH(QString, kind);
        QFETCH(int, expected);
        QTemporaryDir dir(QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/dueXXXXXX"));
        const QString file = dir.filePath(QStringLiteral("brxspecial_note"));
        if (kind == QLatin1String("words") || kind == QLatin1String("truncated"))
            MakeNotebook(file, {"ability", "borrow", "climate", "drought", "harvest"});
        if (kind == QLatin1String("empty") || kind == QLatin1String("newer") || kind == QLatin1String("badversion")
            || kind == QLatin1String("otherformat"))
            MakeNotebook(file, {});
        if (kind == QLatin1String("text")) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("ability\t能力\r\nborrow\t借\r\n");
        }
        if (kind == QLatin1String("truncated"))
            QVERIFY(QFile::resize(file, 4096 + 100));
        if (kind == QLatin1String("foreign"))
            RunSql(file, QStringLiteral("CREATE TABLE lessons(no INTEGER, title TEXT); INSERT INTO lessons VALUES(1,'a')"));
        if (kind == QLatin1String("otherformat"))
            RunSql(file, QStringLiteral("UPDATE meta SET value='mvxsentrabook' WHERE key='format'"));
        if (kind == QLatin1String("newer"))
            RunSql(file, QStringLiteral("UPDATE meta SET value='3' WHERE key='version'"));
        if (kind == QLatin1String("badversion"))
            RunSql(file, QStringLiteral("UPDATE meta SET value='x1' WHERE key='version'"));

        const auto before = Snapshot(dir.path());
        QCOMPARE(bcNote_DueCount(file), expected);
        QCOMPARE(Snapshot(dir.path()), before); // nothing made, changed or set aside
    }

    // A writer holding the file: -1 after a short wait, the count once it lets go.
    void busyNotebookReadsAsUnknown()
    {
        QTemporaryDir dir(QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/dueXXXXXX"));
        const QString file = dir.filePath(QStringLiteral("brxspecial_note"));
        MakeNotebook(file, {"ability", "borrow"});
        {
            SqliteDb writer;
            QVERIFY(writer.open(file, SqliteDb::Mode::ReadWrite));
            QVERIFY(writer.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(writer.exec(QStringLiteral("DELETE FROM words WHERE wkey='borrow'")));
            QCOMPARE(bcNote_DueCount(file), -1);
            writer.rollback();
        }
        QCOMPARE(bcNote_DueCount(file), 2);
    }
};

QTEST_GUILESS_MAIN(TestNotedictDueCount)
#include "test_notedict_duecount.moc"
