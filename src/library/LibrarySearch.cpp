#include "LibrarySearch.h"

#include "ArticleIndex.h"
#include "core/Helpers.h"
#include "core/SqliteDb.h"
#include "libs/sentra/SentraBook.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <sqlite3.h>
#include <sys/stat.h>

namespace mvx {

namespace {

constexpr qint64 ApplicationId = 0x4D565852; // "MVXR"

struct FileStamp
{
    qint64 size = -1;
    qint64 mtimeNs = -1;
    [[nodiscard]] bool valid() const { return size >= 0; }
    bool operator==(const FileStamp &o) const { return size == o.size && mtimeNs == o.mtimeNs; }
};

FileStamp stampOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool isTokenChar(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::category(c) == QChar::Other_PrivateUse;
}

// The query word cut as the index cuts stored text: runs of letters and digits, and each
// CJK character on its own.
QStringList tokensOf(const QString &word)
{
    QStringList tokens;
    QString run;
    for (const char32_t c : word.toUcs4()) {
        if (LibrarySearch::IsCjk(c) || !isTokenChar(c)) {
            if (!run.isEmpty())
                tokens << run;
            run.clear();
            if (LibrarySearch::IsCjk(c))
                tokens << QString::fromUcs4(&c, 1);
        } else {
            run += QString::fromUcs4(&c, 1);
        }
    }
    if (!run.isEmpty())
        tokens << run;
    return tokens;
}

struct ArticleRow
{
    QString title, path;
    int lesson = 0;
};

} // namespace

LibrarySearch::LibrarySearch(QString indexFile) : m_indexFile(std::move(indexFile)) {}

LibrarySearch::~LibrarySearch() = default;

QString LibrarySearch::SearchFileFor(const QString &indexFile)
{
    return StripExtension(ToFsPath(indexFile)) + QStringLiteral(".search");
}

bool LibrarySearch::IsCjk(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x3134F) || (c >= 0x3040 && c <= 0x30FF) || (c >= 0xAC00 && c <= 0xD7AF);
}

QString LibrarySearch::SpacedText(const QString &text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (const char32_t c : text.toUcs4()) {
        if (IsCjk(c)) {
            out += QLatin1Char(' ');
            out += QString::fromUcs4(&c, 1);
            out += QLatin1Char(' ');
        } else {
            out += QString::fromUcs4(&c, 1);
        }
    }
    return out;
}

QStringList LibrarySearch::QueryPhrases(const QString &query)
{
    QStringList phrases;
    for (const QString &word : query.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const QStringList tokens = tokensOf(word);
        if (tokens.isEmpty())
            continue;
        // Tokens hold only letters and digits, so the quotes make every word plain text; the
        // last token is a prefix unless it is a single CJK character (complete already).
        const bool lastIsCjk = tokens.last().size() <= 2 && IsCjk(tokens.last().toUcs4().value(0));
        phrases << QLatin1Char('"') + tokens.join(QLatin1Char(' ')) + QLatin1Char('"')
                       + (lastIsCjk ? QString() : QStringLiteral("*"));
    }
    return phrases;
}

bool LibrarySearch::createSchema()
{
    SqliteTransaction tx(*m_db);
    const bool ok = m_db->exec(QStringLiteral(
                        "CREATE TABLE meta (key TEXT PRIMARY KEY, value INTEGER NOT NULL);"
                        "CREATE TABLE book (id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE,"
                        " size INTEGER NOT NULL, mtime INTEGER NOT NULL);"
                        "CREATE TABLE article (ord INTEGER PRIMARY KEY, title TEXT NOT NULL, path TEXT NOT NULL,"
                        " lesson INTEGER NOT NULL);"
                        "CREATE INDEX article_book ON article (path, lesson);"
                        "CREATE TABLE sentence (id INTEGER PRIMARY KEY, book_id INTEGER NOT NULL,"
                        " lesson INTEGER NOT NULL, number INTEGER NOT NULL, english TEXT NOT NULL,"
                        " chinese TEXT NOT NULL, comment TEXT NOT NULL);"
                        "CREATE INDEX sentence_book ON sentence (book_id);"
                        "CREATE TABLE lesson_span (book_id INTEGER NOT NULL, lesson INTEGER NOT NULL,"
                        " first_id INTEGER NOT NULL, last_id INTEGER NOT NULL, PRIMARY KEY (book_id, lesson));"
                        "CREATE VIRTUAL TABLE sentence_text USING fts5(english, chinese, comment,"
                        " tokenize = 'unicode61 remove_diacritics 2', prefix = '2 3');"))
        && m_db->exec(QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = %2;")
                          .arg(ApplicationId)
                          .arg(FormatVersion));
    return ok && tx.commit();
}

// Whether the last step on the connection failed because of what is in the file (damage,
// including the full-text index's own "invalid file format"), not because of the moment (a
// busy or full disk, memory): only the first kind is mended by making the file again.
static bool StepHitDamage(sqlite3 *db)
{
    switch (sqlite3_errcode(db) & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_IOERR:
    case SQLITE_NOMEM:
    case SQLITE_FULL:
    case SQLITE_INTERRUPT:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_OK:
        return false;
    default:
        return true;
    }
}

// The tables as this program reads them: a file another program changed is made again
// instead of failing every search. Damage inside the pages shows when a search reads them
// (see Search); SQLite's checks are not run here, as they read the whole file (about 50 ms
// for the quick one on 100,000 sentences) at every run's first search.
bool LibrarySearch::tablesUsable()
{
    for (const char *sql : {"SELECT key, value FROM meta", "SELECT id, path, size, mtime FROM book",
                            "SELECT ord, title, path, lesson FROM article",
                            "SELECT id, book_id, lesson, number, english, chinese, comment FROM sentence",
                            "SELECT book_id, lesson, first_id, last_id FROM lesson_span",
                            "SELECT rowid, english, chinese, comment FROM sentence_text WHERE sentence_text MATCH 'a'"})
        if (!m_db->prepare(QString::fromLatin1(sql) + QStringLiteral(" LIMIT 0")).isValid())
            return false;
    return true;
}

bool LibrarySearch::openStore()
{
    m_db = std::make_unique<SqliteDb>();
    const QString file = SearchFileFor(m_indexFile);
    if (m_db->open(file, SqliteDb::Mode::ReadWriteCreate) && !m_db->isReadOnly()) {
        const qint64 app = m_db->scalar(QStringLiteral("PRAGMA application_id"), -1).toLongLong();
        const qint64 version = m_db->scalar(QStringLiteral("PRAGMA user_version"), -1).toLongLong();
        const qint64 tables = m_db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"), -1).toLongLong();
        if (app == ApplicationId && version == FormatVersion && tablesUsable())
            return true;
        if (tables == 0 && app == 0 && createSchema())
            return true;
        // Damaged, foreign or of an older format: start again from nothing.
        m_db->close();
        QFile::remove(file);
        QFile::remove(file + QStringLiteral("-journal"));
        if (m_db->open(file, SqliteDb::Mode::ReadWriteCreate) && createSchema())
            return true;
    }
    m_db->close();
    m_note = QStringLiteral("搜索索引无法写入（%1），本次在内存中建立。").arg(file);
    m_inMemory = true;
    return m_db->open(QStringLiteral(":memory:"), SqliteDb::Mode::ReadWriteCreate) && createSchema();
}

bool LibrarySearch::indexBook(qint64 bookId, const QString &path)
{
    sentra::SentraBook book;
    if (!book.open(path, false))
        return false;
    SqliteTransaction tx(*m_db);
    SqliteStatement dropText = m_db->prepare(
        QStringLiteral("DELETE FROM sentence_text WHERE rowid IN (SELECT id FROM sentence WHERE book_id = ?1)"));
    dropText.bind(1, bookId);
    SqliteStatement drop = m_db->prepare(QStringLiteral("DELETE FROM sentence WHERE book_id = ?1"));
    drop.bind(1, bookId);
    SqliteStatement dropSpans = m_db->prepare(QStringLiteral("DELETE FROM lesson_span WHERE book_id = ?1"));
    dropSpans.bind(1, bookId);
    if (!dropText.exec() || !drop.exec() || !dropSpans.exec())
        return false;
    SqliteStatement add = m_db->prepare(QStringLiteral(
        "INSERT INTO sentence (book_id, lesson, number, english, chinese, comment) VALUES (?1, ?2, ?3, ?4, ?5, ?6)"));
    SqliteStatement addText = m_db->prepare(
        QStringLiteral("INSERT INTO sentence_text (rowid, english, chinese, comment) VALUES (?1, ?2, ?3, ?4)"));
    SqliteStatement addSpan = m_db->prepare(
        QStringLiteral("INSERT INTO lesson_span (book_id, lesson, first_id, last_id) VALUES (?1, ?2, ?3, ?4)"));
    const int lessons = book.lessonCount();
    for (int lesson = 0; lesson < lessons; ++lesson) {
        const auto data = book.readLesson(lesson, false);
        if (!data)
            return false;
        qint64 firstId = -1;
        for (int n = 0; n < data->sentences.size(); ++n) {
            const auto &s = data->sentences[n];
            add.reset();
            add.bind(1, bookId);
            add.bind(2, qint64(lesson));
            add.bind(3, qint64(n));
            add.bind(4, s.english);
            add.bind(5, s.chinese);
            add.bind(6, s.comment);
            if (!add.exec())
                return false;
            const qint64 id = sqlite3_last_insert_rowid(m_db->handle());
            if (firstId < 0)
                firstId = id;
            addText.reset();
            addText.bind(1, id);
            addText.bind(2, SpacedText(s.english));
            addText.bind(3, SpacedText(s.chinese));
            addText.bind(4, SpacedText(s.comment));
            if (!addText.exec())
                return false;
        }
        // A lesson's sentences take consecutive ids in their order, written in one go.
        if (firstId >= 0) {
            addSpan.reset();
            addSpan.bind(1, bookId);
            addSpan.bind(2, qint64(lesson));
            addSpan.bind(3, firstId);
            addSpan.bind(4, qint64(sqlite3_last_insert_rowid(m_db->handle())));
            if (!addSpan.exec())
                return false;
        }
    }
    return tx.commit();
}

bool LibrarySearch::Refresh()
{
    m_refreshed = true;
    m_error.clear();
    m_unreadable.clear();
    m_reindexed.clear();
    const ArticleTree tree = ArticleIndex::buildFromFile(m_indexFile);
    if (!tree.opened) {
        m_error = QStringLiteral("无法读取文章索引：%1").arg(m_indexFile);
        return false;
    }
    if (!m_db && !openStore()) {
        m_error = QStringLiteral("无法建立搜索索引：%1").arg(m_db->lastError());
        return false;
    }
    QVector<ArticleRow> articles;
    QStringList books;
    for (const ArticleNode &node : tree.nodes) {
        const auto info = node.isArticle() ? ArticleIndex::parseArticleKey(node.key) : std::nullopt;
        if (!info || info->fileType.compare(QLatin1String("sentra"), Qt::CaseInsensitive) != 0)
            continue;
        articles.push_back({node.label, info->fileName(), info->lessonNo});
        if (!books.contains(info->fileName()))
            books << info->fileName();
    }

    const FileStamp index = stampOf(m_indexFile);
    const bool indexSame = m_db->scalar(QStringLiteral("SELECT value FROM meta WHERE key = 'index_size'")).toLongLong()
                               == index.size
        && m_db->scalar(QStringLiteral("SELECT value FROM meta WHERE key = 'index_mtime'")).toLongLong() == index.mtimeNs;
    if (!indexSame) {
        SqliteTransaction tx(*m_db);
        m_db->exec(QStringLiteral("DELETE FROM article"));
        SqliteStatement add = m_db->prepare(QStringLiteral("INSERT INTO article (ord, title, path, lesson) VALUES (?1, ?2, ?3, ?4)"));
        for (int i = 0; i < articles.size(); ++i) {
            add.reset();
            add.bind(1, qint64(i));
            add.bind(2, articles[i].title);
            add.bind(3, articles[i].path);
            add.bind(4, qint64(articles[i].lesson));
            add.exec();
        }
        SqliteStatement meta = m_db->prepare(QStringLiteral("INSERT OR REPLACE INTO meta (key, value) VALUES (?1, ?2)"));
        meta.bind(1, QStringLiteral("index_size"));
        meta.bind(2, index.size);
        meta.exec();
        meta.reset();
        meta.bind(1, QStringLiteral("index_mtime"));
        meta.bind(2, index.mtimeNs);
        meta.exec();
        tx.commit();
    }

    // Stored books: path -> (id, stamp).
    QHash<QString, std::pair<qint64, FileStamp>> stored;
    SqliteStatement list = m_db->prepare(QStringLiteral("SELECT id, path, size, mtime FROM book"));
    while (list.next())
        stored.insert(list.text(1), {list.integer(0), FileStamp{list.integer(2), list.integer(3)}});

    const auto dropBook = [this](qint64 id) {
        SqliteTransaction tx(*m_db);
        for (const char *sql : {"DELETE FROM sentence_text WHERE rowid IN (SELECT id FROM sentence WHERE book_id = ?1)",
                                "DELETE FROM sentence WHERE book_id = ?1", "DELETE FROM lesson_span WHERE book_id = ?1",
                                "DELETE FROM book WHERE id = ?1"}) {
            SqliteStatement st = m_db->prepare(QString::fromLatin1(sql));
            st.bind(1, id);
            st.exec();
        }
        tx.commit();
    };
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        if (!books.contains(it.key()))
            dropBook(it->first);

    for (const QString &path : books) {
        const FileStamp stamp = stampOf(path);
        const auto known = stored.constFind(path);
        if (stamp.valid() && known != stored.cend() && known->second == stamp)
            continue;
        qint64 id = 0;
        if (known != stored.cend()) {
            id = known->first;
        } else {
            SqliteStatement add = m_db->prepare(QStringLiteral("INSERT INTO book (path, size, mtime) VALUES (?1, -1, -1)"));
            add.bind(1, path);
            add.exec();
            id = sqlite3_last_insert_rowid(m_db->handle());
        }
        if (!stamp.valid() || !indexBook(id, path)) {
            // Nothing old is shown for a book that cannot be read now; it is tried again next run.
            dropBook(id);
            m_unreadable << path;
            continue;
        }
        SqliteStatement update = m_db->prepare(QStringLiteral("UPDATE book SET size = ?2, mtime = ?3 WHERE id = ?1"));
        update.bind(1, id);
        update.bind(2, stamp.size);
        update.bind(3, stamp.mtimeNs);
        update.exec();
        m_reindexed << path;
    }
    return true;
}

LibrarySearchResult LibrarySearch::Search(const QString &query, int limit)
{
    LibrarySearchResult result = SearchOnce(query, limit);
    if (result.error.isEmpty() || !m_damageSeen || m_inMemory)
        return result;
    // The file turned out damaged while it was read: made again from the books, once.
    m_damageSeen = false;
    const QString file = SearchFileFor(m_indexFile);
    m_db.reset();
    QFile::remove(file);
    QFile::remove(file + QStringLiteral("-journal"));
    m_refreshed = false;
    return SearchOnce(query, limit);
}

LibrarySearchResult LibrarySearch::SearchOnce(const QString &query, int limit)
{
    LibrarySearchResult result;
    const QStringList phrases = QueryPhrases(query);
    if (phrases.isEmpty()) {
        result.error = QStringLiteral("请输入要查的单词或汉字");
        return result;
    }
    if (!m_refreshed && !Refresh()) {
        result.error = m_error;
        return result;
    }
    if (!m_db || !m_db->isOpen()) {
        result.error = m_error;
        return result;
    }
    result.unreadable = m_unreadable;
    result.note = m_note;

    // The articles in index order with the ids of their lesson's sentences. Where ids rise
    // with the index order (a run), the full-text index hands its hits over in that order
    // already, so reading stops at the limit instead of sorting every hit of a common word.
    struct Span
    {
        int ord = 0, lesson = 0;
        QString title, path;
        qint64 first = 0, last = 0;
    };
    std::vector<Span> spans;
    SqliteStatement listSpans = m_db->prepare(QStringLiteral(
        "SELECT a.ord, a.title, a.path, a.lesson, l.first_id, l.last_id FROM article a"
        " JOIN book b ON b.path = a.path JOIN lesson_span l ON l.book_id = b.id AND l.lesson = a.lesson"
        " ORDER BY a.ord"));
    while (listSpans.next())
        spans.push_back({int(listSpans.integer(0)), int(listSpans.integer(3)), listSpans.text(1), listSpans.text(2),
                         listSpans.integer(4), listSpans.integer(5)});
    if (!listSpans.done()) {
        m_damageSeen = StepHitDamage(m_db->handle());
        result.error = QStringLiteral("搜索失败：%1").arg(QString::fromUtf8(sqlite3_errmsg(m_db->handle())));
        return result;
    }

    SqliteStatement find = m_db->prepare(QStringLiteral(
        "SELECT rowid FROM sentence_text WHERE sentence_text MATCH ?1 AND rowid BETWEEN ?2 AND ?3 ORDER BY rowid"));
    SqliteStatement texts =
        m_db->prepare(QStringLiteral("SELECT number, english, chinese, comment FROM sentence WHERE id = ?1"));
    const QString match = phrases.join(QStringLiteral(" AND "));
    bool failed = false;
    for (size_t runStart = 0; runStart < spans.size() && !result.truncated && !failed;) {
        size_t runEnd = runStart + 1;
        while (runEnd < spans.size() && spans[runEnd].first > spans[runEnd - 1].last)
            ++runEnd;
        find.reset();
        find.bind(1, match);
        find.bind(2, spans[runStart].first);
        find.bind(3, spans[runEnd - 1].last);
        size_t at = runStart;
        while (find.next()) {
            const qint64 id = find.integer(0);
            while (at < runEnd && spans[at].last < id)
                ++at;
            if (at == runEnd)
                break;
            if (id < spans[at].first)
                continue; // a sentence of a lesson listed elsewhere in the index, or not at all
            if (limit >= 0 && result.hits.size() == limit) {
                result.truncated = true;
                break;
            }
            texts.reset();
            texts.bind(1, id);
            if (!texts.next()) {
                failed = true;
                break;
            }
            const Span &span = spans[at];
            LibraryHit hit;
            hit.article = span.ord;
            hit.title = span.title;
            hit.bookFile = span.path;
            hit.lessonNo = span.lesson;
            hit.sentence = int(texts.integer(0));
            hit.english = texts.text(1);
            hit.chinese = texts.text(2);
            hit.comment = texts.text(3);
            result.hits.push_back(hit);
        }
        failed = failed || (!find.done() && !result.truncated && at != runEnd);
        runStart = runEnd;
    }
    if (failed) {
        m_damageSeen = StepHitDamage(m_db->handle());
        result.hits.clear();
        result.truncated = false;
        result.error = QStringLiteral("搜索失败：%1").arg(QString::fromUtf8(sqlite3_errmsg(m_db->handle())));
    }
    return result;
}

} // namespace mvx
