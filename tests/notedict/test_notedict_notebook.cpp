// The word notebook: adding, updating, deleting and range-loading words, damaged files
// set aside, the bc facade, and the window logic's private messages to the owner.
#include "notedict/DictPopupModel.h"
#include "notedict/NoteDictLib.h"
#include "notedict/NoteSourceRef.h"
#include "notedict/NotebookModel.h"
#include "notedict/NotebookStore.h"

#include "core/CustomEvents.h"

#include "core/SqliteDb.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace mvx;

namespace {
// Plays the player's part: answers 2259 by adding the pop-up's word to the notebook, and
// records every private message.
class Owner final : public QObject
{
public:
    QString noteFile, libFile;
    QList<QPair<int, QPair<qintptr, qintptr>>> received;
    int addResult = -99;
    bool event(QEvent *e) override
    {
        const int t = int(e->type());
        if (t < MsgSaveNewWord || t > MsgSaveWordMean)
            return QObject::event(e);
        const auto *m = static_cast<PrivateMessageEvent *>(e);
        received.append({t, {m->wParam(), m->lParam()}});
        if (t == MsgSaveNewWord) {
            QString word, meaning, third;
            bcDictDll_GetSavedWord(word, meaning, &third);
            addResult = bcNote_AddWord(noteFile, libFile, word, meaning, third, "#kbt|a.dat|12", "The example.");
        }
        return true;
    }
};
} // namespace

class TestNotedictNotebook : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp{QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/noteXXXXXX")};
    int m_n = 0;
    QString m_note, m_lib;

    QList<QString> wordsOf(const QList<NoteWord> &list)
    {
        QList<QString> out;
        for (const NoteWord &w : list)
            out << w.word;
        return out;
    }

private slots:
    void init()
    {
        m_note = m_tmp.filePath(QStringLiteral("note%1").arg(++m_n));
        m_lib = m_note + QStringLiteral(".lib");
    }

    void sourceRefs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addRow("single sentence") << QString::fromUtf8("#kbt|文化习俗.dat|57") << true << 57 << 57;
        QTest::addRow("lesson range") << "#kbt|a.dat|51|64" << true << 51 << 64;
        QTest::addRow("range backwards") << "#kbt|a.dat|64|51" << false << -1 << -1;
        QTest::addRow("no hash") << "kbt|a.dat|5" << false << -1 << -1;
        QTest::addRow("not a number") << "#kbt|a.dat|x" << false << -1 << -1;
        QTest::addRow("empty") << "" << false << -1 << -1;
    }
    void sourceRefs()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, first);
        QFETCH(int, last);
        const NoteSourceRef r = NoteSourceRef::parse(text);
        QCOMPARE(r.isValid(), valid);
        if (valid) {
            QCOMPARE(r.first, first);
            QCOMPARE(r.last, last);
            QCOMPARE(r.toText(), text);
        }
    }

    void addUpdateDeleteAndRanges()
    {
        NotebookStore s;
        QVERIFY(!s.open(m_note, m_lib, false)); // missing files are not made unasked
        QVERIFY(!QFile::exists(m_note));
        QVERIFY(s.open(m_note, m_lib, true));
        QCOMPARE(s.addWord("economy", "n. 经济", "i'kɔnəmi", "#kbt|a.dat|12", "The economy grew."), NotebookStore::AddResult::Added);
        QCOMPARE(s.addWord("harvest", "n. 收获", "", "#kbt|a.dat|20", ""), NotebookStore::AddResult::Added);
        QCOMPARE(s.addWord("Climate", "n. 气候", "", "#kbt|b.dat|3", ""), NotebookStore::AddResult::Added);
        QCOMPARE(s.addWord("  Economy ", "n. 经济；节约", "", "#kbt|a.dat|15", ""), NotebookStore::AddResult::Updated);
        QCOMPARE(s.addWord("", "x", "", "", ""), NotebookStore::AddResult::Failed);
        QCOMPARE(s.count(), 3);

        const NoteWord e = s.find("ECONOMY");
        QCOMPARE(e.meaning, QStringLiteral("n. 经济；节约"));
        QCOMPARE(e.third, QStringLiteral("i'kɔnəmi"));           // empty new text keeps the old
        QCOMPARE(e.example, QStringLiteral("The economy grew."));
        QCOMPARE(e.sourceNumber(), 15);

        QCOMPARE(wordsOf(s.words(NoteSourceRef::parse("#kbt|A.DAT|10|16"))), QList<QString>{"Economy"});
        QCOMPARE(wordsOf(s.words(NoteSourceRef::parse("#kbt|a.dat|15|20"))), (QList<QString>{"Economy", "harvest"}));
        QVERIFY(s.words(NoteSourceRef::parse("#kbt|a.dat|21|30")).isEmpty());

        QVERIFY(s.setMeaning(e.id, "n. 经济"));
        QVERIFY(s.removeWord(s.find("harvest").id));
        s.close();

        // Everything is on disk: a second open sees it.
        NotebookStore again;
        QVERIFY(again.open(m_note, m_lib, false));
        QCOMPARE(wordsOf(again.words()), (QList<QString>{"Economy", "Climate"}));
        QCOMPARE(again.find("economy").meaning, QStringLiteral("n. 经济"));
        QVERIFY(!again.setMeaning(99999, "x"));
    }

    void damagedFilesAreSetAside_data()
    {
        QTest::addColumn<bool>("damageMain");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("notebook is garbage") << true << QByteArray(4096, '\x5a');
        QTest::addRow("notebook cut short") << true << QByteArray("SQLite format 3\0garbage", 24);
        QTest::addRow("companion is garbage") << false << QByteArray(3000, '\x01');
        QTest::addRow("notebook index out of step") << true << indexOutOfStep();
    }
    // A whole notebook whose two indexes on the words trade places: only SQLite's full check
    // sees it (found by fuzzing), and a change would build on the damage.
    QByteArray indexOutOfStep()
    {
        const QString note = m_tmp.filePath(QStringLiteral("swapped"));
        {
            NotebookStore s;
            if (!s.open(note, note + QStringLiteral(".lib"), true))
                qFatal("cannot make a notebook");
            s.addWord("economy", "n. 经济", "", "#kbt|a.dat|1", "ex");
            s.addWord("drought", "n. 干旱", "", "#kbt|b.dat|2", "ex");
        }
        SqliteDb db;
        if (!db.open(note, SqliteDb::Mode::ReadWrite))
            qFatal("cannot open the notebook");
        const qint64 src = db.scalar("SELECT rootpage FROM sqlite_master WHERE name = 'words_src'").toLongLong();
        const qint64 due = db.scalar("SELECT rootpage FROM sqlite_master WHERE name = 'words_due'").toLongLong();
        db.exec("PRAGMA writable_schema = ON");
        db.exec(QStringLiteral("UPDATE sqlite_master SET rootpage = %1 WHERE name = 'words_src'").arg(due));
        db.exec(QStringLiteral("UPDATE sqlite_master SET rootpage = %1 WHERE name = 'words_due'").arg(src));
        db.close();
        QFile f(note);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void damagedFilesAreSetAside()
    {
        QFETCH(bool, damageMain);
        QFETCH(QByteArray, bytes);
        {
            NotebookStore s;
            QVERIFY(s.open(m_note, m_lib, true));
            QCOMPARE(s.addWord("economy", "n. 经济", "", "#kbt|a.dat|1", "ex"), NotebookStore::AddResult::Added);
        }
        QFile f(damageMain ? m_note : m_lib);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();

        NotebookStore s;
        QVERIFY2(s.open(m_note, m_lib, false), qPrintable(s.errorText()));
        QVERIFY(s.message().contains(QStringLiteral("已损坏")));
        const QStringList aside = QDir(m_tmp.path()).entryList({QFileInfo(f.fileName()).fileName() + ".damaged-*"});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(QFile(m_tmp.filePath(aside.first())).size(), qint64(bytes.size())); // kept as it was
        // A damaged companion loses only the examples; a damaged notebook starts empty.
        QCOMPARE(s.count(), damageMain ? 0 : 1);
        QCOMPARE(s.addWord("harvest", "n. 收获", "", "", "ex2"), NotebookStore::AddResult::Added);
        QCOMPARE(s.find("harvest").example, QStringLiteral("ex2"));
    }

    // A notebook whose schema text was damaged into other valid SQL (found by fuzzing: the
    // column "reps" became "repss") is refused with a message, not opened to fail every read.
    // Damage that leaves valid SQL: a renamed column, or the id no longer the row's key (found
    // by fuzzing: new words got no id). Refused with a message, the file left as it was.
    void changedColumnsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::newRow("a column renamed") << QByteArray("reps INTEGER") << QByteArray("repss NTEGER");
        QTest::newRow("the id no longer the key") << QByteArray("id INTEGER PRIMARY KEY") << QByteArray("id INTEGER PXIMARY KEY");
    }
    void changedColumnsAreRefused()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        {
            NotebookStore s;
            QVERIFY(s.open(m_note, m_lib, true));
            QCOMPARE(s.addWord("economy", "n. 经济", "", "", "ex"), NotebookStore::AddResult::Added);
        }
        QFile f(m_note);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        const qsizetype at = bytes.indexOf(from);
        QVERIFY(at > 0 && from.size() == to.size());
        bytes.replace(at, from.size(), to);
        QVERIFY(f.seek(0) && f.write(bytes) == bytes.size());
        f.close();
        NotebookStore s;
        QVERIFY(!s.open(m_note, m_lib, false));
        QVERIFY2(s.errorText().contains(QStringLiteral("已损坏")), qPrintable(s.errorText()));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
    }

    void otherDatabaseIsNotWrittenInto()
    {
        {
            SqliteDb db;
            QVERIFY(db.open(m_note, SqliteDb::Mode::ReadWriteCreate));
            QVERIFY(db.exec("CREATE TABLE something(x); INSERT INTO something VALUES(1);"));
        }
        NotebookStore s;
        QVERIFY(s.open(m_note, m_lib, true));
        QVERIFY(!s.message().isEmpty());
        QCOMPARE(QDir(m_tmp.path()).entryList({QFileInfo(m_note).fileName() + ".damaged-*"}).size(), 1);
    }

    void facadeAddWord()
    {
        QCOMPARE(bcNote_AddWord(m_note, m_lib, "economy", "n. 经济", "", "#kbt|a.dat|1", "ex"), 1);
        QCOMPARE(bcNote_AddWord(m_note, m_lib, "Economy", "n. 节约", "", "#kbt|a.dat|2", "ex"), 2);
        QVERIFY(QFile::exists(m_note) && QFile::exists(m_lib));
        // Callers may still write paths with backslashes ("notebook\\brxspecial_note").
        QCOMPARE(bcNote_AddWord(QString(m_note).replace('/', '\\'), QString(m_lib).replace('/', '\\'), "harvest", "", "", "", ""), 1);
        NotebookStore s;
        QVERIFY(s.open(m_note, m_lib, false));
        QCOMPARE(s.count(), 2);
        QCOMPARE(bcNote_AddWord(m_note, m_lib, " ", "", "", "", ""), 0);
        // A notebook in a folder that cannot exist fails cleanly.
        QCOMPARE(bcNote_AddWord(m_tmp.filePath("no/such/dir/note"), m_tmp.filePath("no/such/dir/note.lib"), "x", "", "", "", ""), 0);
    }

    // The facade keeps its notebook open between saves and defers each example's copy in the
    // companion file: the notebook window and a fresh open still see every save whole, and
    // what the window changes in between is kept.
    void keptNotebookStaysInStep()
    {
        QCOMPARE(bcNote_AddWord(m_note, m_lib, "harvest", "n. 收获", "", "#kbt|a.dat|3", "The harvest was good."), 1);
        QCOMPARE(bcNote_AddWord(m_note, m_lib, "drought", "n. 干旱", "", "#kbt|a.dat|4", "A long drought."), 1);
        {
            Owner owner;
            NotebookModel window;
            window.load(&owner, m_note, m_lib, "");
            window.setOnlyRange(false);
            QCOMPARE(wordsOf(window.rows()), (QList<QString>{"harvest", "drought"}));
            QCOMPARE(window.rows().at(0).example, QStringLiteral("The harvest was good."));
            QCOMPARE(window.rows().at(1).example, QStringLiteral("A long drought."));
            QVERIFY(window.setMeaning(window.rows().at(0).id, "n. 丰收"));
            QVERIFY(window.removeWord(window.rows().at(1).id));
            // Saved again from another sentence while the window is open.
            QCOMPARE(bcNote_AddWord(m_note, m_lib, "Harvest", "", "", "#kbt|a.dat|9", "Harvest time."), 2);
            window.reload();
            QCOMPARE(window.rows().size(), 1);
            QCOMPARE(window.rows().at(0).example, QStringLiteral("Harvest time."));
        }
        QCOMPARE(bcNote_AddWord(m_note, m_lib, "rainfall", "n. 降雨", "", "#kbt|a.dat|5", "Rainfall rose."), 1);
        NotebookStore fresh;
        QVERIFY(fresh.open(m_note, m_lib, false));
        QCOMPARE(fresh.count(), 2);
        const NoteWord harvest = fresh.find("harvest");
        QCOMPARE(harvest.meaning, QStringLiteral("n. 丰收"));
        QCOMPARE(harvest.source, QStringLiteral("#kbt|a.dat|9"));
        QCOMPARE(harvest.example, QStringLiteral("Harvest time."));
        QCOMPARE(fresh.find("rainfall").example, QStringLiteral("Rainfall rose."));
        QVERIFY(fresh.find("drought").word.isEmpty());
    }

    // Notebook files moved or damaged under the kept notebook: the next save goes to the file
    // now at the path, and the deferred copy still reaches the file it belongs to.
    void keptNotebookFollowsTheFiles()
    {
        QCOMPARE(bcNote_AddWord(m_note, m_lib, "harvest", "n. 收获", "", "#kbt|a.dat|3", "The harvest was good."), 1);
        QVERIFY(QFile::rename(m_note, m_note + ".old") && QFile::rename(m_lib, m_lib + ".old"));
        QCOMPARE(bcNote_AddWord(m_note, m_lib, "drought", "n. 干旱", "", "#kbt|a.dat|4", "A long drought."), 1);
        NotebookStore now, old;
        QVERIFY(now.open(m_note, m_lib, false));
        QVERIFY(old.open(m_note + ".old", m_lib + ".old", false));
        QCOMPARE(now.count(), 1);
        QCOMPARE(now.find("drought").example, QStringLiteral("A long drought."));
        QCOMPARE(old.count(), 1);
        QCOMPARE(old.find("harvest").example, QStringLiteral("The harvest was good."));

        // Damaged in place: set aside with the message, and the save still lands.
        QFile f(m_note);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, '\x7f'));
        f.close();
        NoteDictTakeMessage();
        QCOMPARE(bcNote_AddWord(m_note, m_lib, "rainfall", "n. 降雨", "", "#kbt|a.dat|5", "Rainfall rose."), 1);
        QVERIFY(NoteDictTakeMessage().contains(QStringLiteral("已损坏")));
        NotebookStore fresh;
        QVERIFY(fresh.open(m_note, m_lib, false));
        QCOMPARE(fresh.count(), 1);
        QCOMPARE(fresh.find("rainfall").example, QStringLiteral("Rainfall rose."));
    }

    // A process killed right after a save: the save is whole in the notebook file, and the
    // next open writes the example's copy the process never got to.
    void killedSaverLosesNothing()
    {
        bcNote_CloseNotebook(); // the child must not inherit an open connection
        const pid_t pid = fork();
        if (pid == 0) {
            if (bcNote_AddWord(m_note, m_lib, "harvest", "n. 收获", "", "#kbt|a.dat|3", "The harvest was good.") == 1)
                raise(SIGKILL);
            _exit(1);
        }
        int status = 0;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        const auto libExamples = [this] {
            SqliteDb lib;
            return lib.open(m_lib, SqliteDb::Mode::ReadOnly) ? lib.scalar("SELECT count(*) FROM examples").toInt() : -1;
        };
        QCOMPARE(libExamples(), 0); // the save committed the notebook file alone
        {
            NotebookStore s;
            QVERIFY(s.open(m_note, m_lib, false));
            QVERIFY2(s.message().isEmpty(), qPrintable(s.message()));
            const NoteWord w = s.find("harvest");
            QCOMPARE(w.meaning, QStringLiteral("n. 收获"));
            QCOMPARE(w.example, QStringLiteral("The harvest was good."));
        }
        QCOMPARE(libExamples(), 1);
    }

    void notebookModel()
    {
        NotebookStore s;
        QVERIFY(s.open(m_note, m_lib, true));
        s.addWord("zebra", "n. 斑马", "", "#kbt|a.dat|30", "");
        s.addWord("apple", "n. 苹果, \"红的\"", "'æpl", "#kbt|a.dat|12", "An apple,\na day.");
        s.addWord("mango", "n. 芒果", "", "#kbt|b.dat|5", "");
        s.close();

        Owner owner;
        NotebookModel m;
        QCOMPARE(m.load(&owner, m_note, m_lib, "#kbt|a.dat|40|60"), -1);   // no word of that lesson
        QCOMPARE(m.load(&owner, m_note, m_lib, "#kbt|a.dat|10|35"), 2);
        QCOMPARE(wordsOf(m.rows()), (QList<QString>{"zebra", "apple"}));
        m.setOnlyRange(false);
        QCOMPARE(m.rows().size(), 3);
        m.cycleSort();
        QCOMPARE(wordsOf(m.rows()), (QList<QString>{"apple", "mango", "zebra"}));
        m.cycleSort();
        QCOMPARE(wordsOf(m.rows()), (QList<QString>{"zebra", "mango", "apple"}));
        m.setFilter("芒");
        QCOMPARE(wordsOf(m.rows()), QList<QString>{"mango"});
        m.setFilter("AP");
        QCOMPARE(wordsOf(m.rows()), QList<QString>{"apple"});

        const QString csv = m_tmp.filePath("cards.csv");
        QVERIFY(m.exportCsv(csv));
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("apple,\"n. 苹果, \"\"红的\"\"\",'æpl,\"An apple,\na day.\"\r\n").toUtf8());
        QVERIFY(!m.exportCsv(m_tmp.filePath("no/such/dir/x.csv")));

        const qint64 apple = m.rows().first().id;
        QVERIFY(m.showSource(apple));
        m.reportClosed(1500, 3000);
        QCOMPARE(owner.received.size(), 2);
        QCOMPARE(owner.received.at(0).first, int(MsgShowWordSource));
        QCOMPARE(owner.received.at(0).second.first, qintptr(12));
        QCOMPARE(owner.received.at(1).first, int(MsgNotebookClosed));
        QCOMPARE(owner.received.at(1).second, (QPair<qintptr, qintptr>(1500, 3000)));

        QVERIFY(m.setMeaning(apple, "n. 苹果"));
        QCOMPARE(m.rows().first().meaning, QStringLiteral("n. 苹果"));
        QVERIFY(m.removeWord(apple));
        QVERIFY(m.rows().isEmpty());
        QCOMPARE(m.totalCount(), 2);

        m.setButtonVisible("Sort", false);
        QVERIFY(!m.isButtonVisible("sort"));
        QVERIFY(m.isButtonVisible("btShowSource"));
    }

    void popupSendsSaveAndMeaning()
    {
        Owner owner;
        owner.noteFile = m_note;
        owner.libFile = m_lib;
        // No dictionary open: the pop-up still works for saving, and says why it has no meaning.
        DictPopupModel p(&owner, 0, "harvest,", "n. 收成（本句）");
        QCOMPARE(p.title(), QStringLiteral("harvest"));
        QVERIFY(p.infoLine().contains(QStringLiteral("词典没有打开")));
        QCOMPARE(p.meaningText(), QStringLiteral("n. 收成（本句）"));
        QCOMPARE(p.saveToNotebook(), 1);
        QCOMPARE(p.statusText(), QStringLiteral("已存入单词笔记本"));
        QCOMPARE(p.saveToNotebook(), 2);
        p.setMeaningText("n. 收获");
        p.storeMeaning();
        QCOMPARE(owner.received.size(), 3);
        QCOMPARE(owner.received.at(2).first, int(MsgSaveWordMean));
        QString word, meaning;
        QVERIFY(bcDictDll_GetSavedWord(word, meaning));
        QCOMPARE(word, QStringLiteral("harvest"));
        QCOMPARE(meaning, QStringLiteral("n. 收获"));

        DictPopupModel orphan(nullptr, 0, "x", "");
        QCOMPARE(orphan.saveToNotebook(), -1);
    }

    void popupPlacement_data()
    {
        QTest::addColumn<QRect>("word");
        QTest::addColumn<QPoint>("expected");
        const QRect screen(0, 0, 1000, 800);
        Q_UNUSED(screen);
        QTest::addRow("room below") << QRect(100, 100, 50, 20) << QPoint(100, 124);
        QTest::addRow("near the bottom goes above") << QRect(100, 700, 50, 20) << QPoint(100, 396);
        QTest::addRow("near the right edge shifts left") << QRect(950, 100, 40, 20) << QPoint(700, 124);
        QTest::addRow("off the left edge") << QRect(-80, 100, 40, 20) << QPoint(0, 124);
    }
    void popupPlacement()
    {
        QFETCH(QRect, word);
        QFETCH(QPoint, expected);
        QCOMPARE(DictPopupModel::placeBeside(word, QSize(300, 300), QRect(0, 0, 1000, 800)), expected);
    }

    // A stored place left from a screen that is gone (or a hand-edited one) is brought back.
    void notebookPlacement_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QPoint>("expected");
        QTest::addRow("on the screen") << QPoint(100, 100) << QPoint(100, 100);
        QTest::addRow("partly off the right, top reachable") << QPoint(800, 100) << QPoint(800, 100);
        QTest::addRow("on the second screen") << QPoint(1500, 200) << QPoint(1500, 200);
        QTest::addRow("far right of every screen") << QPoint(9000, 100) << QPoint(1000 - 300, 100);
        QTest::addRow("above the top") << QPoint(100, -200) << QPoint(100, 0);
        QTest::addRow("title band under the bottom") << QPoint(100, 790) << QPoint(100, 800 - 200);
        QTest::addRow("in the gap left of the first screen") << QPoint(-900, -900) << QPoint(0, 0);
    }
    void notebookPlacement()
    {
        QFETCH(QPoint, stored);
        QFETCH(QPoint, expected);
        const QList<QRect> screens{QRect(0, 0, 1000, 800), QRect(1000, 0, 1280, 1024)};
        QCOMPARE(NotebookModel::placeOnScreen(stored, QSize(300, 200), screens), expected);
    }
};

QTEST_GUILESS_MAIN(TestNotedictNotebook)
#include "test_notedict_notebook.moc"
