#include "NotebookStore.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

#include <sys/stat.h>

namespace mvx {

namespace {
const QString kFormat = QStringLiteral("mvxnotebook");
constexpr int kFormatVersion = 2;

// The keys the notebook relies on, as SQLite reads them. Damage that leaves valid SQL can
// turn "id INTEGER PRIMARY KEY" into a plain column (found by fuzzing: new words then got no
// id) or drop a UNIQUE; the full check cannot see either.
bool IsRowKey(SqliteDb &db, const QString &schema, const QString &table)
{
    SqliteStatement st = db.prepare(QStringLiteral("SELECT count(*), sum(name = 'id' AND type = 'INTEGER') "
                                                   "FROM pragma_table_info(?1, ?2) WHERE pk > 0"));
    st.bind(1, table);
    st.bind(2, schema);
    return st.next() && st.integer(0) == 1 && st.integer(1) == 1;
}

bool HasUniqueIndex(SqliteDb &db, const QString &table, const QString &columns)
{
    SqliteStatement st = db.prepare(QStringLiteral(
        "SELECT count(*) FROM pragma_index_list(?1) AS il WHERE il.\"unique\" AND "
        "(SELECT group_concat(name) FROM (SELECT name FROM pragma_index_info(il.name) ORDER BY seqno)) = ?2"));
    st.bind(1, table);
    st.bind(2, columns);
    return st.next() && st.integer(0) > 0;
}

// Format 2 adds the review schedule to each word and keeps every source a word was saved
// from (with its example) in "sources".
const char *kMainSchema = R"(
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE IF NOT EXISTS words(
  id INTEGER PRIMARY KEY,
  word TEXT NOT NULL,
  wkey TEXT NOT NULL UNIQUE,
  meaning TEXT NOT NULL DEFAULT '',
  third TEXT NOT NULL DEFAULT '',
  source TEXT NOT NULL DEFAULT '',
  src_tag TEXT, src_book TEXT, src_no INTEGER,
  added INTEGER NOT NULL, updated INTEGER NOT NULL,
  due INTEGER NOT NULL DEFAULT 0, ease INTEGER NOT NULL DEFAULT 250, interval INTEGER NOT NULL DEFAULT 0,
  reps INTEGER NOT NULL DEFAULT 0, reviews INTEGER NOT NULL DEFAULT 0, lapses INTEGER NOT NULL DEFAULT 0,
  last_review INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS words_src ON words(src_book COLLATE NOCASE, src_no);
INSERT OR IGNORE INTO meta(key, value) VALUES('format', 'mvxnotebook'), ('version', '2');
)";
// From format 1: the schedule columns (every word due since it was added) and the sources
// table filled from each word's one source and example.
const char *kUpgradeFrom1 = R"(
ALTER TABLE words ADD COLUMN due INTEGER NOT NULL DEFAULT 0;
ALTER TABLE words ADD COLUMN ease INTEGER NOT NULL DEFAULT 250;
ALTER TABLE words ADD COLUMN interval INTEGER NOT NULL DEFAULT 0;
ALTER TABLE words ADD COLUMN reps INTEGER NOT NULL DEFAULT 0;
ALTER TABLE words ADD COLUMN reviews INTEGER NOT NULL DEFAULT 0;
ALTER TABLE words ADD COLUMN lapses INTEGER NOT NULL DEFAULT 0;
ALTER TABLE words ADD COLUMN last_review INTEGER NOT NULL DEFAULT 0;
UPDATE words SET due = added;
CREATE TABLE sources(
  id INTEGER PRIMARY KEY, word_id INTEGER NOT NULL, source TEXT NOT NULL,
  src_tag TEXT, src_book TEXT, src_no INTEGER, example TEXT NOT NULL DEFAULT '', added INTEGER NOT NULL,
  UNIQUE(word_id, source));
INSERT INTO sources(word_id, source, src_tag, src_book, src_no, example, added)
  SELECT w.id, w.source, w.src_tag, w.src_book, w.src_no, coalesce(e.example, ''), w.updated
  FROM words w LEFT JOIN lib.examples e ON e.id = w.id WHERE w.source <> '';
UPDATE meta SET value = '2' WHERE key = 'version';
)";
const char *kSourcesSchema = R"(
CREATE TABLE IF NOT EXISTS sources(
  id INTEGER PRIMARY KEY, word_id INTEGER NOT NULL, source TEXT NOT NULL,
  src_tag TEXT, src_book TEXT, src_no INTEGER, example TEXT NOT NULL DEFAULT '', added INTEGER NOT NULL,
  UNIQUE(word_id, source));
CREATE INDEX IF NOT EXISTS sources_src ON sources(src_book COLLATE NOCASE, src_no);
CREATE INDEX IF NOT EXISTS words_due ON words(due);
)";
const char *kLibSchema = R"(
CREATE TABLE IF NOT EXISTS lib.meta(key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE IF NOT EXISTS lib.examples(id INTEGER PRIMARY KEY, example TEXT NOT NULL DEFAULT '');
INSERT OR IGNORE INTO lib.meta(key, value) VALUES('format', 'mvxnotebook-lib'), ('version', '1');
)";

// Copies each word's example into the companion file where the word's latest save came with a
// source whose example the notebook file holds (the save deferred the copy, or was killed
// before it). %1: an optional id filter.
const char *kCopyExamples = R"(
INSERT OR REPLACE INTO lib.examples(id, example)
  SELECT w.id, s.example FROM words w JOIN sources s ON s.word_id = w.id AND s.source = w.source
  WHERE s.example <> '' AND s.added = w.updated %1
    AND NOT EXISTS (SELECT 1 FROM lib.examples e WHERE e.id = w.id AND e.example = s.example)
)";

// A write transaction over the files it names only. BEGIN IMMEDIATE locks every attached
// file, and SQLite then commits through a master journal that syncs both files (about three
// times the syncs of one) even when one of them is unchanged.
class WriteTransaction final
{
public:
    enum class Files { Both, Main, Lib };
    WriteTransaction(SqliteDb &db, Files files) : m_db(db)
    {
        if (files == Files::Both) {
            m_active = m_db.begin(true);
            return;
        }
        // A no-op write takes the file's write lock at once, as IMMEDIATE would.
        m_active = m_db.begin(false);
        if (m_active && !m_db.exec(files == Files::Main ? QStringLiteral("UPDATE main.meta SET value = value WHERE 0")
                                                        : QStringLiteral("UPDATE lib.meta SET value = value WHERE 0"))) {
            m_db.rollback();
            m_active = false;
        }
    }
    ~WriteTransaction()
    {
        if (m_active)
            m_db.rollback();
    }
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;
    [[nodiscard]] bool isActive() const { return m_active; }
    // A failed commit is rolled back, so the connection is never left inside it.
    bool commit()
    {
        if (!m_active)
            return false;
        m_active = false;
        if (m_db.commit())
            return true;
        if (m_db.inTransaction()) // SQLite may have rolled it back already; keep its error
            m_db.rollback();
        return false;
    }

private:
    SqliteDb &m_db;
    bool m_active = false;
};

// The open stores of this process (the user-interface thread's), so that one store's
// deferred copies are written before another reads or changes the same notebook.
std::vector<NotebookStore *> &OpenStores()
{
    static auto *stores = new std::vector<NotebookStore *>; // never destroyed: stores close at exit
    return *stores;
}

bool FileId(const QString &file, quint64 id[2])
{
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0)
        return false;
    id[0] = quint64(st.st_dev);
    id[1] = quint64(st.st_ino);
    return true;
}

// The columns every word query reads, in NoteWord order (see ReadWord).
const char *kWordColumns =
    "w.id, w.word, w.meaning, w.third, w.source, coalesce(e.example, ''), w.added, w.updated,"
    " w.due, w.ease, w.interval, w.reps, w.reviews, w.lapses, w.last_review";

NoteWord ReadWord(const SqliteStatement &q)
{
    NoteWord w;
    w.id = q.integer(0);
    w.word = q.text(1);
    w.meaning = q.text(2);
    w.third = q.text(3);
    w.source = q.text(4);
    w.example = q.text(5);
    w.added = QDateTime::fromMSecsSinceEpoch(q.integer(6));
    w.updated = QDateTime::fromMSecsSinceEpoch(q.integer(7));
    ReviewState r;
    r.dueMs = q.integer(8);
    r.ease = int(q.integer(9));
    r.interval = int(q.integer(10));
    r.reps = int(q.integer(11));
    r.reviews = int(q.integer(12));
    r.lapses = int(q.integer(13));
    r.lastReviewMs = q.integer(14);
    w.review = r.clamped();
    return w;
}

qint64 Now()
{
    return QDateTime::currentMSecsSinceEpoch();
}
} // namespace

QString NotebookStore::wordKey(const QString &word)
{
    return word.simplified().toLower();
}

int NotebookStore::dueCount(const QString &noteFile, int busyMs, qint64 nowMs)
{
    if (!QFileInfo(noteFile).isFile())
        return -1;
    SqliteDb db;
    if (!db.open(noteFile, SqliteDb::Mode::ReadOnly, busyMs) || !db.begin(false))
        return -1;
    // One read transaction: the checks and the count see the same file.
    int result = -1;
    const QVariant tables = db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (tables.isValid() && tables.toInt() == 0) {
        result = 0; // an empty file is a notebook not yet written
    } else if (tables.isValid() && db.checkIntegrity()
               && db.scalar(QStringLiteral("SELECT value FROM meta WHERE key='format'")).toString() == kFormat) {
        bool ok = false;
        const int version = db.scalar(QStringLiteral("SELECT value FROM meta WHERE key='version'")).toString().toInt(&ok);
        if (ok && version >= 1 && version <= kFormatVersion) {
            // Format 1 keeps no review schedule: every word is due.
            SqliteStatement q = db.prepare(version == 1 ? QStringLiteral("SELECT count(*) FROM words")
                                                        : QStringLiteral("SELECT count(*) FROM words WHERE due <= ?"));
            if (version > 1)
                q.bind(1, nowMs < 0 ? Now() : nowMs);
            if (q.next())
                result = int(q.integer(0));
        }
    }
    db.rollback();
    return result;
}

NotebookStore::~NotebookStore()
{
    close();
}

void NotebookStore::close()
{
    flushLibCopies();
    m_pendingLib.clear();
    auto &stores = OpenStores();
    stores.erase(std::remove(stores.begin(), stores.end(), this), stores.end());
    m_db.close();
}

bool NotebookStore::filesUnchanged() const
{
    quint64 note[2], lib[2];
    return isOpen() && FileId(m_noteFile, note) && FileId(m_libFile, lib) && note[0] == m_noteId[0]
           && note[1] == m_noteId[1] && lib[0] == m_libId[0] && lib[1] == m_libId[1];
}

void NotebookStore::settle() const
{
    for (NotebookStore *s : OpenStores())
        if (s->m_noteFile == m_noteFile)
            s->flushLibCopies();
}

// Copies the examples of the words ids, or of every word when ids is empty.
bool NotebookStore::copyExamples(const QList<qint64> &ids)
{
    QStringList list;
    for (const qint64 id : ids)
        list << QString::number(id);
    const QString filter = ids.isEmpty() ? QString() : QStringLiteral("AND w.id IN (%1)").arg(list.join(u','));
    WriteTransaction tx(m_db, WriteTransaction::Files::Lib);
    return tx.isActive() && m_db.exec(QString::fromUtf8(kCopyExamples).arg(filter)) && tx.commit();
}

bool NotebookStore::flushLibCopies()
{
    if (m_pendingLib.isEmpty() || !isOpen())
        return true;
    if (!copyExamples(m_pendingLib))
        return false; // kept for the next try; a later open() copies them too
    m_pendingLib.clear();
    return true;
}

QString NotebookStore::setAside(const QString &file)
{
    if (!QFileInfo::exists(file))
        return {};
    const QString target = file + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString name = target;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = target + u'-' + QString::number(n);
    if (!QFile::rename(file, name))
        return {};
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(file + QLatin1String(suffix));
    return name;
}

bool NotebookStore::openMain(const QString &noteFile)
{
    // Always with "create": an attached companion set aside is made anew through this
    // connection. open() has already refused missing files when asked not to create.
    if (!m_db.open(noteFile, SqliteDb::Mode::ReadWriteCreate))
        return false;
    // The full check: a quick one misses an index out of step with its table, and a change
    // would then build on the damage.
    if (m_db.scalar(QStringLiteral("PRAGMA integrity_check")).toString() != QLatin1String("ok"))
        return false;
    const bool empty = m_db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master")).toInt() == 0;
    if (empty)
        return true; // an empty database file is a new notebook
    // Anything that is not our notebook is treated as damaged rather than written into.
    if (m_db.scalar(QStringLiteral("SELECT value FROM meta WHERE key='format'")).toString() != kFormat)
        return false;
    bool ok = false;
    m_version = m_db.scalar(QStringLiteral("SELECT value FROM meta WHERE key='version'")).toString().toInt(&ok);
    if (!ok || m_version < 1)
        return false;
    // A newer program's notebook is refused and left as it is, whatever its tables look like.
    m_newer = m_version > kFormatVersion;
    if (m_newer)
        return false;
    return m_db.prepare(QStringLiteral("SELECT id, word, wkey, meaning, third, source, src_tag, src_book, src_no, added, updated FROM words LIMIT 0")).isValid();
}

bool NotebookStore::attachLib(const QString &libFile)
{
    SqliteStatement st = m_db.prepare(QStringLiteral("ATTACH DATABASE ? AS lib"));
    st.bind(1, libFile);
    if (!st.exec())
        return false;
    const bool ok = m_db.scalar(QStringLiteral("PRAGMA lib.integrity_check")).toString() == QLatin1String("ok");
    const bool empty = ok && m_db.scalar(QStringLiteral("SELECT count(*) FROM lib.sqlite_master")).toInt() == 0;
    if (ok && (empty || m_db.prepare(QStringLiteral("SELECT id, example FROM lib.examples LIMIT 0")).isValid()))
        return true;
    m_db.exec(QStringLiteral("DETACH DATABASE lib"));
    return false;
}

bool NotebookStore::prepareSchema()
{
    // One transaction: an older notebook is upgraded whole or not at all.
    SqliteTransaction tx(m_db);
    if (!tx.isActive() || !m_db.exec(QString::fromUtf8(kMainSchema)))
        return false;
    if (m_version == 1 && !m_db.exec(QString::fromUtf8(kUpgradeFrom1)))
        return false;
    return m_db.exec(QString::fromUtf8(kSourcesSchema)) && m_db.exec(QString::fromUtf8(kLibSchema)) && tx.commit();
}

bool NotebookStore::open(const QString &noteFile, const QString &libFile, bool create)
{
    close();
    m_message.clear();
    m_error.clear();
    m_noteFile = QFileInfo(noteFile).absoluteFilePath();
    m_libFile = QFileInfo(libFile).absoluteFilePath();
    // What another store of this process deferred is in the files before they are checked.
    settle();
    if (!create && (!QFileInfo::exists(noteFile) || !QFileInfo::exists(libFile))) {
        m_error = QStringLiteral("单词笔记本文件不存在：%1").arg(noteFile);
        return false;
    }
    QStringList setAsideNames;
    m_version = 0;
    m_newer = false;
    if (!openMain(noteFile)) {
        m_db.close();
        if (m_newer) {
            m_error = QStringLiteral("这个单词笔记本是较新版本的程序写的，本程序无法打开它：%1\n请使用新版本的程序。").arg(noteFile);
            return false;
        }
        if (!QFileInfo::exists(noteFile)) {
            m_error = QStringLiteral("无法建立单词笔记本文件：%1").arg(noteFile);
            return false;
        }
        // The words are gone with the main file; the examples belong to them.
        const QString a = setAside(noteFile), b = setAside(libFile);
        if (a.isEmpty()) {
            m_error = QStringLiteral("单词笔记本文件已损坏，且无法改名：%1").arg(noteFile);
            return false;
        }
        setAsideNames << a;
        if (!b.isEmpty())
            setAsideNames << b;
        m_version = 0;
        if (!openMain(noteFile)) {
            m_error = QStringLiteral("无法建立单词笔记本文件：%1").arg(noteFile);
            m_db.close();
            return false;
        }
    }
    if (!attachLib(libFile)) {
        const QString b = setAside(libFile);
        if (b.isEmpty() || !attachLib(libFile)) {
            m_error = QStringLiteral("无法打开单词笔记本的例句文件：%1").arg(libFile);
            m_db.close();
            return false;
        }
        setAsideNames << b;
    }
    if (!prepareSchema()) {
        m_error = QStringLiteral("无法写入单词笔记本：%1").arg(m_db.lastError());
        m_db.close();
        return false;
    }
    // Tables whose columns or keys were changed (a damaged schema text still parses) would open
    // and then fail every read, or store words without an id: refuse them now, leaving the
    // file as it is.
    if (!m_db.prepare(QStringLiteral("SELECT %1 FROM words w LEFT JOIN lib.examples e ON e.id = w.id LIMIT 0")
                          .arg(QLatin1String(kWordColumns)))
             .isValid()
        || !m_db.prepare(QStringLiteral("SELECT word_id, source, src_tag, src_book, src_no, example, added FROM sources LIMIT 0"))
                .isValid()
        || !IsRowKey(m_db, QStringLiteral("main"), QStringLiteral("words"))
        || !HasUniqueIndex(m_db, QStringLiteral("words"), QStringLiteral("wkey"))
        || !IsRowKey(m_db, QStringLiteral("main"), QStringLiteral("sources"))
        || !HasUniqueIndex(m_db, QStringLiteral("sources"), QStringLiteral("word_id,source"))
        || !IsRowKey(m_db, QStringLiteral("lib"), QStringLiteral("examples"))) {
        m_error = QStringLiteral("单词笔记本文件已损坏，无法读出：%1").arg(noteFile);
        m_db.close();
        return false;
    }
    // Example copies a killed process never wrote (the notebook file has them).
    copyExamples({});
    FileId(m_noteFile, m_noteId);
    FileId(m_libFile, m_libId);
    OpenStores().push_back(this);
    if (!setAsideNames.isEmpty())
        m_message = QStringLiteral("单词笔记本文件已损坏，无法读出。\n损坏的文件已改名保存为：\n%1\n现在使用一个新的空笔记本。")
                        .arg(setAsideNames.join(u'\n'));
    return true;
}

NotebookStore::AddResult NotebookStore::addWord(const QString &word, const QString &meaning, const QString &third,
                                                const QString &source, const QString &example)
{
    const QString w = word.simplified();
    if (!isOpen() || w.isEmpty())
        return AddResult::Failed;
    const NoteSourceRef ref = NoteSourceRef::parse(source);
    const bool hasExample = !example.trimmed().isEmpty();
    // With a source the notebook file keeps the example too: its copy can wait.
    const bool deferCopy = m_deferLib && hasExample && !source.trimmed().isEmpty();
    const bool writesLib = hasExample && !deferCopy;
    settle();
    WriteTransaction tx(m_db, writesLib ? WriteTransaction::Files::Both : WriteTransaction::Files::Main);
    if (!tx.isActive())
        return AddResult::Failed;
    const qint64 now = Now();
    qint64 id = 0;
    bool existed = false;
    {
        SqliteStatement q = m_db.prepare(QStringLiteral("SELECT id FROM words WHERE wkey=?"));
        q.bind(1, wordKey(w));
        if (q.next())
            id = q.integer(0);
        existed = id != 0;
    }
    if (id) {
        SqliteStatement u = m_db.prepare(QStringLiteral(
            "UPDATE words SET word=?, meaning=CASE WHEN ?2<>'' THEN ?2 ELSE meaning END,"
            " third=CASE WHEN ?3<>'' THEN ?3 ELSE third END,"
            " source=CASE WHEN ?4<>'' THEN ?4 ELSE source END,"
            " src_tag=CASE WHEN ?4<>'' THEN ?5 ELSE src_tag END, src_book=CASE WHEN ?4<>'' THEN ?6 ELSE src_book END,"
            " src_no=CASE WHEN ?4<>'' THEN ?7 ELSE src_no END, updated=?8 WHERE id=?9"));
        u.bind(1, w);
        u.bind(2, meaning.trimmed());
        u.bind(3, third.trimmed());
        u.bind(4, source.trimmed());
        u.bind(5, ref.isValid() ? QVariant(ref.tag) : QVariant());
        u.bind(6, ref.isValid() ? QVariant(ref.book) : QVariant());
        u.bind(7, ref.isValid() ? QVariant(ref.first) : QVariant());
        u.bind(8, now);
        u.bind(9, id);
        if (!u.exec())
            return AddResult::Failed;
    } else {
        SqliteStatement i = m_db.prepare(QStringLiteral(
            "INSERT INTO words(word, wkey, meaning, third, source, src_tag, src_book, src_no, added, updated, due)"
            " VALUES(?,?,?,?,?,?,?,?,?,?,?10)"));
        i.bind(1, w);
        i.bind(2, wordKey(w));
        i.bind(3, meaning.trimmed());
        i.bind(4, third.trimmed());
        i.bind(5, source.trimmed());
        i.bind(6, ref.isValid() ? QVariant(ref.tag) : QVariant());
        i.bind(7, ref.isValid() ? QVariant(ref.book) : QVariant());
        i.bind(8, ref.isValid() ? QVariant(ref.first) : QVariant());
        i.bind(9, now);
        i.bind(10, now);
        if (!i.exec())
            return AddResult::Failed;
        id = m_db.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    }
    if (!source.trimmed().isEmpty()) {
        // Every source is kept; saving from the same sentence again refreshes its example.
        SqliteStatement so = m_db.prepare(QStringLiteral(
            "INSERT INTO sources(word_id, source, src_tag, src_book, src_no, example, added) VALUES(?,?,?,?,?,?,?)"
            " ON CONFLICT(word_id, source) DO UPDATE SET example = CASE WHEN excluded.example <> ''"
            " THEN excluded.example ELSE example END, added = excluded.added"));
        so.bind(1, id);
        so.bind(2, source.trimmed());
        so.bind(3, ref.isValid() ? QVariant(ref.tag) : QVariant());
        so.bind(4, ref.isValid() ? QVariant(ref.book) : QVariant());
        so.bind(5, ref.isValid() ? QVariant(ref.first) : QVariant());
        so.bind(6, example.trimmed());
        so.bind(7, now);
        if (!so.exec())
            return AddResult::Failed;
    }
    if (writesLib) {
        SqliteStatement e = m_db.prepare(QStringLiteral("INSERT OR REPLACE INTO lib.examples(id, example) VALUES(?,?)"));
        e.bind(1, id);
        e.bind(2, example.trimmed());
        if (!e.exec())
            return AddResult::Failed;
    }
    if (!tx.commit())
        return AddResult::Failed;
    if (deferCopy && !m_pendingLib.contains(id))
        m_pendingLib << id;
    return existed ? AddResult::Updated : AddResult::Added;
}

bool NotebookStore::removeWord(qint64 id)
{
    if (!isOpen())
        return false;
    settle();
    SqliteTransaction tx(m_db);
    SqliteStatement a = m_db.prepare(QStringLiteral("DELETE FROM words WHERE id=?"));
    a.bind(1, id);
    SqliteStatement b = m_db.prepare(QStringLiteral("DELETE FROM lib.examples WHERE id=?"));
    b.bind(1, id);
    SqliteStatement c = m_db.prepare(QStringLiteral("DELETE FROM sources WHERE word_id=?"));
    c.bind(1, id);
    return tx.isActive() && a.exec() && b.exec() && c.exec() && tx.commit();
}

bool NotebookStore::setMeaning(qint64 id, const QString &meaning)
{
    if (!isOpen())
        return false;
    settle();
    SqliteStatement u = m_db.prepare(QStringLiteral("UPDATE words SET meaning=?, updated=? WHERE id=?"));
    u.bind(1, meaning.trimmed());
    u.bind(2, Now());
    u.bind(3, id);
    return u.exec() && m_db.scalar(QStringLiteral("SELECT changes()"), 0).toInt() > 0;
}

QList<NoteWord> NotebookStore::words(const NoteSourceRef &range, const NoteSourceRef &prefer) const
{
    return query(range.isValid() ? range : prefer, range.isValid(), QStringLiteral(" ORDER BY w.added, w.id"), -1);
}

QList<NoteWord> NotebookStore::dueWords(qint64 nowMs, const NoteSourceRef &range) const
{
    return query(range, range.isValid(), QStringLiteral(" ORDER BY w.due, w.id"), nowMs);
}

// Words with their source and example: with a range, the latest source inside it (and only
// such words when onlyRange), else the latest source. dueBy >= 0: only words due by then.
QList<NoteWord> NotebookStore::query(const NoteSourceRef &range, bool onlyRange, const QString &order,
                                     qint64 dueBy) const
{
    QList<NoteWord> out;
    if (!isOpen())
        return out;
    settle();
    const QString inRange = QStringLiteral(
        "s.word_id = w.id AND s.src_tag = ?1 COLLATE NOCASE AND s.src_book = ?2 COLLATE NOCASE"
        " AND s.src_no BETWEEN ?3 AND ?4");
    QString sql = QStringLiteral("SELECT ") + QLatin1String(kWordColumns);
    if (range.isValid())
        sql += QStringLiteral(", (SELECT s.source FROM sources s WHERE %1 ORDER BY s.added DESC, s.id DESC LIMIT 1),"
                              " (SELECT s.example FROM sources s WHERE %1 ORDER BY s.added DESC, s.id DESC LIMIT 1)")
                   .arg(inRange);
    sql += QStringLiteral(" FROM words w LEFT JOIN lib.examples e ON e.id = w.id WHERE 1");
    if (range.isValid() && onlyRange)
        sql += QStringLiteral(" AND EXISTS (SELECT 1 FROM sources s WHERE %1)").arg(inRange);
    if (dueBy >= 0)
        sql += QStringLiteral(" AND w.due <= ?5");
    sql += order;
    SqliteStatement q = m_db.prepare(sql);
    if (range.isValid()) {
        q.bind(1, range.tag);
        q.bind(2, range.book);
        q.bind(3, qint64(range.first));
        q.bind(4, qint64(range.last));
    }
    if (dueBy >= 0)
        q.bind(5, dueBy);
    while (q.next()) {
        NoteWord w = ReadWord(q);
        if (range.isValid() && !q.isNull(15)) {
            w.source = q.text(15);
            if (!q.text(16).isEmpty())
                w.example = q.text(16);
        }
        out << w;
    }
    return out;
}

NoteWord NotebookStore::find(const QString &word) const
{
    if (!isOpen())
        return {};
    settle();
    SqliteStatement q = m_db.prepare(QStringLiteral("SELECT ") + QLatin1String(kWordColumns)
                                     + QStringLiteral(" FROM words w LEFT JOIN lib.examples e ON e.id = w.id WHERE w.wkey = ?"));
    q.bind(1, wordKey(word));
    return q.next() ? ReadWord(q) : NoteWord{};
}

bool NotebookStore::answer(qint64 id, ReviewSchedule::Grade grade, const QDateTime &now, ReviewState *after)
{
    if (!isOpen())
        return false;
    // Read, schedule and write in one transaction: the answer is stored whole or not at all.
    WriteTransaction tx(m_db, WriteTransaction::Files::Main);
    if (!tx.isActive())
        return false;
    SqliteStatement q = m_db.prepare(QStringLiteral(
        "SELECT due, ease, interval, reps, reviews, lapses, last_review FROM words WHERE id=?"));
    q.bind(1, id);
    if (!q.next())
        return false;
    ReviewState s;
    s.dueMs = q.integer(0);
    s.ease = int(q.integer(1));
    s.interval = int(q.integer(2));
    s.reps = int(q.integer(3));
    s.reviews = int(q.integer(4));
    s.lapses = int(q.integer(5));
    s.lastReviewMs = q.integer(6);
    const ReviewState n = ReviewSchedule::answer(s, grade, now);
    SqliteStatement u = m_db.prepare(QStringLiteral(
        "UPDATE words SET due=?, ease=?, interval=?, reps=?, reviews=?, lapses=?, last_review=? WHERE id=?"));
    u.bind(1, n.dueMs);
    u.bind(2, qint64(n.ease));
    u.bind(3, qint64(n.interval));
    u.bind(4, qint64(n.reps));
    u.bind(5, qint64(n.reviews));
    u.bind(6, qint64(n.lapses));
    u.bind(7, n.lastReviewMs);
    u.bind(8, id);
    if (!u.exec() || !tx.commit())
        return false;
    if (after)
        *after = n;
    return true;
}

int NotebookStore::count() const
{
    return isOpen() ? m_db.scalar(QStringLiteral("SELECT count(*) FROM words"), 0).toInt() : 0;
}

} // namespace mvx
