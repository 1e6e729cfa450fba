// Transactions on a file another connection holds: a failed commit leaves nothing half-done.
#include "core/SqliteDb.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

using namespace mvx;

class TestCoreSqlite : public QObject
{
    Q_OBJECT

private slots:
    void aBusyCommitIsRolledBackAndTheNextOneWorks()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("words.db"));
        SqliteDb writer;
        QVERIFY(writer.open(path, SqliteDb::Mode::ReadWriteCreate, 50));
        QVERIFY(writer.exec(QStringLiteral("PRAGMA journal_mode=DELETE")));
        QVERIFY(writer.exec(QStringLiteral("CREATE TABLE w(word TEXT)")));

        // A reader in the middle of a query holds the file: the writer's COMMIT cannot finish.
        SqliteDb reader;
        QVERIFY(reader.open(path, SqliteDb::Mode::ReadOnly, 50));
        QVERIFY(reader.begin(false));
        SqliteStatement held = reader.prepare(QStringLiteral("SELECT count(*) FROM w"));
        QVERIFY(held.next());
        {
            SqliteTransaction t(writer);
            QVERIFY(t.isActive());
            QVERIFY(writer.exec(QStringLiteral("INSERT INTO w VALUES('lost')")));
            QVERIFY(!t.commit());
            QCOMPARE(writer.lastErrorCode(), SQLITE_BUSY);
            QVERIFY(!writer.inTransaction());
        }
        held = SqliteStatement();
        reader.rollback();

        SqliteTransaction again(writer);
        QVERIFY2(again.isActive(), qPrintable(writer.lastError()));
        QVERIFY(writer.exec(QStringLiteral("INSERT INTO w VALUES('kept')")));
        QVERIFY(again.commit());
        QCOMPARE(reader.scalar(QStringLiteral("SELECT group_concat(word) FROM w")).toString(), QStringLiteral("kept"));
    }
};

QTEST_GUILESS_MAIN(TestCoreSqlite)
#include "test_core_sqlite.moc"
