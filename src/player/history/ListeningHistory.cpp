#include "player/history/ListeningHistory.h"

#include "core/ProgramHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace mvx {

namespace {

const char *const Schema = R"(
CREATE TABLE sentence_heard (
  book TEXT NOT NULL, no_in_all INTEGER NOT NULL, lesson_no INTEGER NOT NULL,
  plays INTEGER NOT NULL DEFAULT 0, repeats INTEGER NOT NULL DEFAULT 0,
  lookups INTEGER NOT NULL DEFAULT 0, last_heard TEXT NOT NULL,
  PRIMARY KEY (book, no_in_all));
CREATE INDEX sentence_heard_lesson ON sentence_heard (book, lesson_no);
CREATE TABLE study_day (
  book TEXT NOT NULL, lesson_no INTEGER NOT NULL, day TEXT NOT NULL, ms INTEGER NOT NULL,
  PRIMARY KEY (book, lesson_no, day));
)";

const char *const WriteHeard =
    "INSERT INTO sentence_heard (book, no_in_all, lesson_no, plays, repeats, lookups, last_heard) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7) ON CONFLICT (book, no_in_all) DO UPDATE SET "
    "lesson_no = ?3, plays = plays + ?4, repeats = repeats + ?5, lookups = lookups + ?6, "
    "last_heard = CASE WHEN ?7 > last_heard THEN ?7 ELSE last_heard END";
const char *const WriteStudyDay = "INSERT INTO study_day (book, lesson_no, day, ms) VALUES (?1, ?2, ?3, ?4) "
                                  "ON CONFLICT (book, lesson_no, day) DO UPDATE SET ms = ms + ?4";
// Every statement of the program, so a file whose tables were changed (another program's,
// or damage that left valid SQL) is found at open instead of failing every write.
const char *const Statements[] = {
    WriteHeard,
    WriteStudyDay,
    "SELECT no_in_all, plays, repeats, lookups, last_heard FROM sentence_heard WHERE book = ? AND lesson_no = ?",
    "SELECT day, ms FROM study_day WHERE book = ? AND lesson_no = ?",
    "SELECT book, lesson_no FROM sentence_heard UNION SELECT book, lesson_no FROM study_day",
};

} // namespace

QString ListeningHistory::DefaultPath()
{
    return ProgramHome::PerUserFolder() + QStringLiteral("/history.db");
}

QString ListeningHistory::BookKey(const QString &bookFile)
{
    const QFileInfo fi(bookFile);
    const QString canonical = fi.canonicalFilePath();
    return canonical.isEmpty() ? fi.absoluteFilePath() : canonical;
}

ListeningHistory::ListeningHistory(QString path) : m_path(std::move(path))
{
    OpenOrStartFresh();
}

ListeningHistory::~ListeningHistory()
{
    Flush();
}

bool ListeningHistory::OpenOrStartFresh()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!QFileInfo::exists(m_path))
        return StartFile();
    if (!m_db.open(m_path, SqliteDb::Mode::ReadWrite)) {
        if (m_db.lastErrorMeansDamaged()) {
            SetAside(m_db.lastError());
            return StartFile();
        }
        m_notice = QStringLiteral("学习记录文件打不开，这次的记录不会保存：%1").arg(m_db.lastError());
        return false;
    }
    const qint64 appId = m_db.scalar(QStringLiteral("PRAGMA application_id"), -1).toLongLong();
    const int version = m_db.scalar(QStringLiteral("PRAGMA user_version"), -1).toInt();
    QString why;
    if (appId != ApplicationId)
        why = QStringLiteral("不是学习记录文件");
    else if (version != FormatVersion)
        why = QStringLiteral("格式版本 %1 不认识").arg(version);
    // The full check: the quick one misses an index out of step with its table (found by
    // fuzzing), and the next write would build on the damage. The file is small.
    else if (m_db.scalar(QStringLiteral("PRAGMA integrity_check")).toString() != QLatin1String("ok"))
        why = QStringLiteral("文件已损坏");
    else if (!TablesUsable())
        why = QStringLiteral("表格不完整");
    else if (!WritesCanStart())
        why = QStringLiteral("文件无法写入");
    if (why.isEmpty())
        return true;
    m_db.close();
    SetAside(why);
    return StartFile();
}

bool ListeningHistory::TablesUsable()
{
    for (const char *sql : Statements)
        if (!m_db.prepare(QString::fromUtf8(sql)).isValid())
            return false;
    return true;
}

// A header damaged into a newer file format (found by fuzzing) lets every check pass and then
// refuses every write; a file another process is writing only makes us wait, and is kept.
bool ListeningHistory::WritesCanStart()
{
    if (!m_db.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return m_db.lastErrorCode() != SQLITE_READONLY;
    // Writing the version it already has touches the header, where the refusal shows.
    const bool wrote = m_db.exec(QStringLiteral("PRAGMA user_version = %1").arg(FormatVersion));
    const int rc = m_db.lastErrorCode();
    m_db.exec(QStringLiteral("ROLLBACK"));
    return wrote || rc != SQLITE_READONLY;
}

void ListeningHistory::SetAside(const QString &why)
{
    m_db.close();
    const QString aside =
        m_path + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QFile::remove(aside);
    QFile::rename(m_path, aside);
    QFile::remove(m_path + QStringLiteral("-journal"));
    m_notice = QStringLiteral("学习记录文件 %1 有问题（%2），已改名为 %3 保存，重新开始记录。")
                   .arg(QDir::toNativeSeparators(m_path), why, QDir::toNativeSeparators(aside));
}

bool ListeningHistory::StartFile()
{
    if (!m_db.open(m_path, SqliteDb::Mode::ReadWriteCreate)) {
        m_notice = QStringLiteral("学习记录文件无法创建，这次的记录不会保存：%1").arg(m_db.lastError());
        return false;
    }
    SqliteTransaction tx(m_db);
    const bool ok = tx.isActive() && m_db.exec(QString::fromLatin1(Schema))
                    && m_db.exec(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId))
                    && m_db.exec(QStringLiteral("PRAGMA user_version = %1").arg(FormatVersion)) && tx.commit();
    if (!ok) {
        m_notice = QStringLiteral("学习记录文件无法创建，这次的记录不会保存：%1").arg(m_db.lastError());
        m_db.close();
        QFile::remove(m_path);
    }
    return ok;
}

void ListeningHistory::Count(const QString &book, int lessonNo, int noInAll, Heard what, const QDateTime &at)
{
    Pending &p = m_pending[SentenceKey{book, noInAll}];
    p.lessonNo = lessonNo;
    switch (what) {
    case Heard::Played:
        ++p.plays;
        break;
    case Heard::Repeated:
        ++p.repeats;
        break;
    case Heard::LookedUp:
        ++p.lookups;
        break;
    }
    if (what != Heard::LookedUp && (!p.lastHeard.isValid() || at > p.lastHeard))
        p.lastHeard = at;
}

void ListeningHistory::AddStudyTime(const QString &book, int lessonNo, const QDate &day, qint64 ms)
{
    if (ms > 0)
        m_pendingTime[DayKey{book, lessonNo, day}] += ms;
}

bool ListeningHistory::FlushIfDue(qint64 nowMs)
{
    if (!HasPending() || (m_lastFlushMs >= 0 && nowMs - m_lastFlushMs < FlushIntervalMs))
        return false;
    m_lastFlushMs = nowMs;
    return Flush();
}

bool ListeningHistory::Flush()
{
    if (!HasPending())
        return true;
    if (!m_db.isOpen())
        return false; // kept in memory for the readers
    SqliteTransaction tx(m_db);
    if (!tx.isActive())
        return false;
    SqliteStatement qs = m_db.prepare(QString::fromUtf8(WriteHeard));
    bool ok = qs.isValid();
    for (auto it = m_pending.cbegin(); ok && it != m_pending.cend(); ++it) {
        qs.reset();
        qs.bind(1, it.key().book);
        qs.bind(2, qint64(it.key().noInAll));
        qs.bind(3, qint64(it->lessonNo));
        qs.bind(4, qint64(it->plays));
        qs.bind(5, qint64(it->repeats));
        qs.bind(6, qint64(it->lookups));
        // In UTC ("...Z"): read back without any time-zone work, and ordered as text.
        qs.bind(7, it->lastHeard.isValid() ? it->lastHeard.toUTC().toString(Qt::ISODateWithMs) : QString());
        ok = qs.exec();
    }
    SqliteStatement qd = m_db.prepare(QString::fromUtf8(WriteStudyDay));
    ok = ok && qd.isValid();
    for (auto it = m_pendingTime.cbegin(); ok && it != m_pendingTime.cend(); ++it) {
        qd.reset();
        qd.bind(1, it.key().book);
        qd.bind(2, qint64(it.key().lessonNo));
        qd.bind(3, it.key().day.toString(Qt::ISODate));
        qd.bind(4, it.value());
        ok = qd.exec();
    }
    if (!ok || !tx.commit())
        return false; // rolled back; the counts stay pending for the next write
    m_pending.clear();
    m_pendingTime.clear();
    return true;
}

QList<SentenceCounts> ListeningHistory::LessonSentences(const QString &book, int lessonNo)
{
    Flush();
    QHash<int, SentenceCounts> byNo;
    if (m_db.isOpen()) {
        SqliteStatement q = m_db.prepare(
            QStringLiteral("SELECT no_in_all, plays, repeats, lookups, last_heard FROM sentence_heard "
                           "WHERE book = ? AND lesson_no = ? ORDER BY no_in_all"));
        q.bind(1, book);
        q.bind(2, qint64(lessonNo));
        while (q.next()) {
            SentenceCounts c;
            c.noInAll = int(q.integer(0));
            c.plays = int(q.integer(1));
            c.repeats = int(q.integer(2));
            c.lookups = int(q.integer(3));
            c.lastHeard = QDateTime::fromString(q.text(4), Qt::ISODateWithMs);
            byNo.insert(c.noInAll, c);
        }
    }
    // Counts that could not be written (no file) are still the learner's.
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        if (it.key().book != book || it->lessonNo != lessonNo)
            continue;
        SentenceCounts &c = byNo[it.key().noInAll];
        c.noInAll = it.key().noInAll;
        c.plays += it->plays;
        c.repeats += it->repeats;
        c.lookups += it->lookups;
        if (it->lastHeard > c.lastHeard)
            c.lastHeard = it->lastHeard;
    }
    QList<SentenceCounts> out = byNo.values();
    std::sort(out.begin(), out.end(), [](const auto &a, const auto &b) { return a.noInAll < b.noInAll; });
    return out;
}

QMap<QDate, qint64> ListeningHistory::StudyTimePerDay(const QString &book, int lessonNo)
{
    Flush();
    QMap<QDate, qint64> out;
    if (m_db.isOpen()) {
        SqliteStatement q =
            m_db.prepare(QStringLiteral("SELECT day, ms FROM study_day WHERE book = ? AND lesson_no = ?"));
        q.bind(1, book);
        q.bind(2, qint64(lessonNo));
        while (q.next()) {
            const QDate day = QDate::fromString(q.text(0), Qt::ISODate);
            if (day.isValid())
                out[day] += q.integer(1);
        }
    }
    for (auto it = m_pendingTime.cbegin(); it != m_pendingTime.cend(); ++it)
        if (it.key().book == book && it.key().lessonNo == lessonNo)
            out[it.key().day] += it.value();
    return out;
}

QList<ListeningHistory::LessonKey> ListeningHistory::Lessons()
{
    Flush();
    QList<LessonKey> out;
    if (!m_db.isOpen())
        return out;
    SqliteStatement q = m_db.prepare(QStringLiteral(
        "SELECT book, lesson_no FROM sentence_heard UNION SELECT book, lesson_no FROM study_day ORDER BY 1, 2"));
    while (q.next())
        out.append({q.text(0), int(q.integer(1))});
    return out;
}

} // namespace mvx
