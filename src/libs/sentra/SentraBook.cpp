#include "SentraBook.h"

#include "LessonSound.h"
#include "SentenceWords.h"
#include "SentraBookImpl.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace mvx::sentra {

namespace {

const char *const Schema = R"(
CREATE TABLE book_info (key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE lesson (
  lesson_no INTEGER PRIMARY KEY, title TEXT NOT NULL, first_sentence INTEGER NOT NULL,
  sentence_count INTEGER NOT NULL, sound BLOB NOT NULL);
CREATE TABLE sentence (
  no_in_all INTEGER PRIMARY KEY, lesson_no INTEGER NOT NULL, no_in_lesson INTEGER NOT NULL,
  start_ms INTEGER NOT NULL, end_ms INTEGER NOT NULL, english TEXT NOT NULL,
  chinese TEXT NOT NULL, comment TEXT NOT NULL, is_title INTEGER NOT NULL,
  degree INTEGER NOT NULL DEFAULT 0);
CREATE TABLE word_mark (
  no_in_all INTEGER NOT NULL, word_no INTEGER NOT NULL, kind INTEGER NOT NULL,
  word TEXT NOT NULL, PRIMARY KEY (no_in_all, word_no, kind));
CREATE TABLE word_meaning (
  no_in_all INTEGER NOT NULL, word_key TEXT NOT NULL, word TEXT NOT NULL,
  meaning TEXT NOT NULL, PRIMARY KEY (no_in_all, word_key));
CREATE TABLE dictation (
  no_in_all INTEGER PRIMARY KEY, words_right INTEGER NOT NULL, words_total INTEGER NOT NULL,
  at TEXT NOT NULL);
CREATE TABLE time_nudge (
  no_in_all INTEGER PRIMARY KEY, start_offset_ms INTEGER NOT NULL, end_offset_ms INTEGER NOT NULL);
)";

// An older format to the current one: the dictation results (2) and the time nudges (3).
const char *const UpgradeToCurrent = R"(
CREATE TABLE IF NOT EXISTS dictation (
  no_in_all INTEGER PRIMARY KEY, words_right INTEGER NOT NULL, words_total INTEGER NOT NULL,
  at TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS time_nudge (
  no_in_all INTEGER PRIMARY KEY, start_offset_ms INTEGER NOT NULL, end_offset_ms INTEGER NOT NULL);
PRAGMA user_version = 3;
)";

// The sentence columns, with the nudges where the book has them (a book of an older format
// read without writing has none).
QString sentenceSelect(bool hasNudges)
{
    return hasNudges ? QStringLiteral(
               "SELECT s.no_in_all, s.start_ms, s.end_ms, s.english, s.chinese, s.comment, s.is_title, "
               "s.degree, COALESCE(n.start_offset_ms, 0), COALESCE(n.end_offset_ms, 0) FROM sentence s "
               "LEFT JOIN time_nudge n ON n.no_in_all = s.no_in_all ")
                     : QStringLiteral("SELECT s.no_in_all, s.start_ms, s.end_ms, s.english, s.chinese, "
                                      "s.comment, s.is_title, s.degree, 0, 0 FROM sentence s ");
}

SentenceData sentenceFromRow(const SqliteStatement &q)
{
    SentenceData s;
    s.startMs = int(q.integer(1));
    s.endMs = int(q.integer(2));
    s.english = q.text(3);
    s.chinese = q.text(4);
    s.comment = q.text(5);
    s.isTitle = q.integer(6) != 0;
    s.degree = int(q.integer(7));
    s.startOffsetMs = int(q.integer(8));
    s.endOffsetMs = int(q.integer(9));
    return s;
}

} // namespace

SentraBook::SentraBook() : m_impl(std::make_unique<Impl>()) {}

SentraBook::~SentraBook() = default;

bool SentraBook::isOpen() const
{
    return m_impl->db.isOpen();
}

bool SentraBook::isWritable() const
{
    return isOpen() && m_impl->writable;
}

void SentraBook::close()
{
    m_impl->sound.reset();
    m_impl->soundLesson = -1;
    m_impl->lessons.clear();
    m_impl->db.close();
    m_impl->writable = false;
    m_impl->hasDictation = false;
    m_impl->hasNudges = false;
    m_path.clear();
}

bool SentraBook::create(const QString &path, bool replaceExisting)
{
    close();
    if (QFileInfo::exists(path)) {
        if (!replaceExisting) {
            m_error = QStringLiteral("%1 already exists").arg(path);
            return false;
        }
        QFile::remove(path + QStringLiteral("-journal"));
        if (!QFile::remove(path)) {
            m_error = QStringLiteral("cannot replace %1").arg(path);
            return false;
        }
    }
    SqliteDb &db = m_impl->db;
    if (!db.open(path, SqliteDb::Mode::ReadWriteCreate)) {
        m_error = db.lastError();
        return false;
    }
    SqliteTransaction tx(db);
    const bool ok = tx.isActive() && db.exec(QString::fromLatin1(Schema))
                    && db.exec(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId))
                    && db.exec(QStringLiteral("PRAGMA user_version = %1").arg(FormatVersion))
                    && tx.commit();
    if (!ok) {
        m_error = db.lastError();
        db.close();
        QFile::remove(path);
        return false;
    }
    m_impl->writable = true;
    m_impl->hasDictation = true;
    m_impl->hasNudges = true;
    m_path = path;
    return true;
}

bool SentraBook::open(const QString &path, bool writable)
{
    close();
    const QFileInfo fi(path);
    if (!fi.isFile()) {
        m_error = QStringLiteral("%1 does not exist").arg(path);
        return false;
    }
    SqliteDb &db = m_impl->db;
    // A writer killed mid-change leaves a hot journal; a read-only connection cannot roll it
    // back, so let a short read-write connection do it first when the file allows.
    if (!writable && QFileInfo::exists(path + QStringLiteral("-journal")) && fi.isWritable()) {
        if (db.open(path, SqliteDb::Mode::ReadWrite))
            (void)db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        db.close();
    }
    bool rw = writable;
    if (!db.open(path, rw ? SqliteDb::Mode::ReadWrite : SqliteDb::Mode::ReadOnly)) {
        // A book the learner may not write still opens for reading; changes then fail.
        rw = false;
        if (!writable || !db.open(path, SqliteDb::Mode::ReadOnly)) {
            m_error = db.lastError();
            return false;
        }
    }
    // SQLite opens a file it may not write (on a read-only mount, say) read-only without
    // failing: the book is then read-only too, so nothing tries to write or upgrade it.
    if (rw && db.isReadOnly())
        rw = false;
    const QVariant appId = db.scalar(QStringLiteral("PRAGMA application_id"));
    if (!appId.isValid() || appId.toLongLong() != ApplicationId) {
        m_error = QStringLiteral("%1 is not a sentence book").arg(path);
        db.close();
        return false;
    }
    const int version = db.scalar(QStringLiteral("PRAGMA user_version"), -1).toInt();
    if (version < 1 || version > FormatVersion) {
        m_error = QStringLiteral("%1 has an unknown book format (version %2)").arg(path).arg(version);
        db.close();
        return false;
    }
    const qint64 pages = db.scalar(QStringLiteral("PRAGMA page_count"), -1).toLongLong();
    const qint64 pageSize = db.scalar(QStringLiteral("PRAGMA page_size"), -1).toLongLong();
    if (pages <= 0 || pageSize <= 0 || pages * pageSize > QFileInfo(path).size()) {
        m_error = QStringLiteral("%1 is damaged (truncated)").arg(path);
        db.close();
        return false;
    }
    // A damaged book may still be read as far as it goes, but is never written: a change
    // would build on the damage and could spread it. The full check, because a quick one
    // misses an index out of step with its table.
    const QString check = rw ? db.scalar(QStringLiteral("PRAGMA integrity_check")).toString() : QString();
    if (rw && check != QLatin1String("ok")) {
        m_error = QStringLiteral("%1 is damaged (%2)").arg(path, check.isEmpty() ? db.lastError() : check);
        db.close();
        return false;
    }
    if (version < FormatVersion && rw) {
        // An older book opened for writing is upgraded at once, in one transaction.
        SqliteTransaction tx(db);
        if (!tx.isActive() || !db.exec(QString::fromLatin1(UpgradeToCurrent)) || !tx.commit()) {
            m_error = QStringLiteral("cannot upgrade %1: %2").arg(path, db.lastError());
            db.close();
            return false;
        }
    }
    m_impl->writable = rw;
    m_impl->hasDictation = version >= 2 || rw;
    m_impl->hasNudges = version >= 3 || rw;
    m_path = path;
    // Tables whose columns were changed (a damaged schema text still parses) would open and
    // then fail every read: refuse them now.
    if (!db.prepare(sentenceSelect(m_impl->hasNudges) + QStringLiteral("LIMIT 0")).isValid()
        || !db.prepare(QStringLiteral("SELECT no_in_all, lesson_no, no_in_lesson FROM sentence LIMIT 0")).isValid()
        || !db.prepare(QStringLiteral("SELECT no_in_all, word_no, kind FROM word_mark LIMIT 0")).isValid()
        || !db.prepare(QStringLiteral("SELECT sound FROM lesson LIMIT 0")).isValid()
        || (m_impl->hasDictation
            && !db.prepare(QStringLiteral("SELECT no_in_all, words_right, words_total, at FROM dictation LIMIT 0")).isValid())) {
        m_error = QStringLiteral("%1 is damaged: %2").arg(path, db.lastError());
        close();
        return false;
    }
    SqliteStatement q = db.prepare(QStringLiteral(
        "SELECT l.lesson_no, l.title, l.first_sentence, l.sentence_count, "
        "COALESCE(s.is_title, 0) FROM lesson l "
        "LEFT JOIN sentence s ON s.no_in_all = l.first_sentence ORDER BY l.lesson_no"));
    if (!q.isValid()) {
        m_error = QStringLiteral("%1 is damaged: %2").arg(path, db.lastError());
        close();
        return false;
    }
    int expectFirst = 0;
    while (q.next()) {
        LessonInfo info;
        info.lessonNo = int(q.integer(0));
        info.title = q.text(1);
        info.firstSentence = int(q.integer(2));
        info.sentenceCount = int(q.integer(3));
        info.hasTitle = q.integer(4) != 0;
        if (info.lessonNo != m_impl->lessons.size() || info.firstSentence != expectFirst
            || info.sentenceCount < 1 || info.sentenceCount > MaxSentencesPerLesson) {
            m_error = QStringLiteral("%1 is damaged (lesson %2)").arg(path).arg(info.lessonNo);
            close();
            return false;
        }
        expectFirst += info.sentenceCount;
        m_impl->lessons.append(info);
    }
    if (!q.done()) {
        m_error = QStringLiteral("%1 is damaged").arg(path);
        close();
        return false;
    }
    return true;
}

QString SentraBook::bookTitle() const
{
    if (!isOpen())
        return {};
    SqliteStatement q = m_impl->db.prepare(
        QStringLiteral("SELECT value FROM book_info WHERE key = 'title'"));
    return q.next() ? q.text(0) : QString();
}

bool SentraBook::setBookTitle(const QString &title)
{
    if (!isWritable()) {
        m_error = QStringLiteral("the book is not open for writing");
        return false;
    }
    SqliteStatement q = m_impl->db.prepare(
        QStringLiteral("INSERT OR REPLACE INTO book_info (key, value) VALUES ('title', ?)"));
    q.bind(1, title);
    if (!q.exec()) {
        m_error = m_impl->db.lastError();
        return false;
    }
    return true;
}

int SentraBook::addLesson(const LessonData &lesson)
{
    if (!isWritable()) {
        m_error = QStringLiteral("the book is not open for writing");
        return -1;
    }
    const auto &ss = lesson.sentences;
    if (ss.isEmpty()) {
        m_error = QStringLiteral("a lesson needs at least one sentence");
        return -1;
    }
    if (ss.size() > MaxSentencesPerLesson) {
        m_error = QStringLiteral("a lesson holds at most %1 sentences; this one has %2")
                      .arg(MaxSentencesPerLesson)
                      .arg(ss.size());
        return -1;
    }
    for (int n = 0; n < ss.size(); ++n) {
        const SentenceData &s = ss[n];
        if (s.startMs < 0 || s.endMs <= s.startMs) {
            m_error = QStringLiteral("sentence %1: its end (%2 ms) must come after its start (%3 ms)")
                          .arg(n)
                          .arg(s.endMs)
                          .arg(s.startMs);
            return -1;
        }
        if (s.isTitle && n != 0) {
            m_error = QStringLiteral("sentence %1: only the first sentence can be the title").arg(n);
            return -1;
        }
        const int words = int(SentenceWords::words(s.english).size());
        if (words > MaxWordsPerSentence) {
            m_error = QStringLiteral("sentence %1 has %2 words; a sentence holds at most %3")
                          .arg(n)
                          .arg(words)
                          .arg(MaxWordsPerSentence);
            return -1;
        }
        for (const QList<int> *marks : {&s.keywords, &s.newwords}) {
            for (int k : *marks) {
                if (k < 1 || k > words) {
                    m_error = QStringLiteral("sentence %1: word %2 is past its %3 words")
                                  .arg(n)
                                  .arg(k)
                                  .arg(words);
                    return -1;
                }
            }
        }
    }
    {
        LessonSound probe(lesson.sound);
        if (!probe.isValid()) {
            m_error = probe.errorText();
            return -1;
        }
        // A stretch a little past the end is fine (it is padded with silence); one that starts
        // after the sound or runs on for a minute is a timing mistake.
        const qint64 duration = probe.durationMs();
        for (int n = 0; n < ss.size(); ++n) {
            if (ss[n].startMs >= duration || ss[n].endMs > duration + LessonSound::MaxOverrunMs) {
                m_error = QStringLiteral("sentence %1 (%2-%3 ms) lies outside the lesson's sound "
                                         "of %4 ms")
                              .arg(n)
                              .arg(ss[n].startMs)
                              .arg(ss[n].endMs)
                              .arg(duration);
                return -1;
            }
        }
    }

    SqliteDb &db = m_impl->db;
    const int lessonNo = int(m_impl->lessons.size());
    const int first = m_impl->lessons.isEmpty()
                          ? 0
                          : m_impl->lessons.last().firstSentence + m_impl->lessons.last().sentenceCount;
    SqliteTransaction tx(db);
    if (!tx.isActive()) {
        m_error = db.lastError();
        return -1;
    }
    SqliteStatement ql = db.prepare(QStringLiteral(
        "INSERT INTO lesson (lesson_no, title, first_sentence, sentence_count, sound) "
        "VALUES (?, ?, ?, ?, ?)"));
    ql.bind(1, qint64(lessonNo));
    ql.bind(2, lesson.title);
    ql.bind(3, qint64(first));
    ql.bind(4, qint64(ss.size()));
    ql.bindBlob(5, lesson.sound);
    bool ok = ql.exec();
    SqliteStatement qs = db.prepare(QStringLiteral(
        "INSERT INTO sentence (no_in_all, lesson_no, no_in_lesson, start_ms, end_ms, english, "
        "chinese, comment, is_title, degree) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    SqliteStatement qm = db.prepare(QStringLiteral(
        "INSERT OR IGNORE INTO word_mark (no_in_all, word_no, kind, word) VALUES (?, ?, ?, ?)"));
    for (int n = 0; ok && n < ss.size(); ++n) {
        const SentenceData &s = ss[n];
        qs.reset();
        qs.bind(1, qint64(first + n));
        qs.bind(2, qint64(lessonNo));
        qs.bind(3, qint64(n));
        qs.bind(4, qint64(s.startMs));
        qs.bind(5, qint64(s.endMs));
        qs.bind(6, s.english);
        qs.bind(7, s.chinese);
        qs.bind(8, s.comment);
        qs.bind(9, qint64(s.isTitle ? 1 : 0));
        qs.bind(10, qint64(s.degree));
        ok = qs.exec();
        const QStringList words = SentenceWords::words(s.english);
        for (int kind : {KindKeyword, KindNewword}) {
            for (int k : kind == KindKeyword ? s.keywords : s.newwords) {
                qm.reset();
                qm.bind(1, qint64(first + n));
                qm.bind(2, qint64(k));
                qm.bind(3, qint64(kind));
                qm.bind(4, words[k - 1]);
                ok = ok && qm.exec();
            }
        }
    }
    if (!ok || !tx.commit()) {
        m_error = QStringLiteral("cannot add the lesson: %1").arg(db.lastError());
        return -1;
    }
    LessonInfo info;
    info.lessonNo = lessonNo;
    info.title = lesson.title;
    info.firstSentence = first;
    info.sentenceCount = int(ss.size());
    info.hasTitle = ss.first().isTitle;
    m_impl->lessons.append(info);
    return lessonNo;
}

int SentraBook::lessonCount() const
{
    return int(m_impl->lessons.size());
}

std::optional<LessonInfo> SentraBook::lessonInfo(int lessonNo) const
{
    if (!isOpen() || lessonNo < 0 || lessonNo >= m_impl->lessons.size()) {
        m_error = QStringLiteral("there is no lesson %1").arg(lessonNo);
        return std::nullopt;
    }
    return m_impl->lessons[lessonNo];
}

int SentraBook::sentenceCount() const
{
    if (m_impl->lessons.isEmpty())
        return 0;
    return m_impl->lessons.last().firstSentence + m_impl->lessons.last().sentenceCount;
}

int SentraBook::lessonOfSentence(int noInAll) const
{
    if (!isOpen() || noInAll < 0 || noInAll >= sentenceCount())
        return -1;
    const auto &ls = m_impl->lessons;
    const auto it = std::upper_bound(ls.begin(), ls.end(), noInAll,
                                     [](int n, const LessonInfo &l) { return n < l.firstSentence; });
    return int(it - ls.begin()) - 1;
}

namespace {

// Reads the marks of sentences [first, first + count) into the records.
bool readMarks(SqliteDb &db, int first, QList<SentenceData> &sentences)
{
    SqliteStatement q = db.prepare(QStringLiteral(
        "SELECT no_in_all, word_no, kind FROM word_mark WHERE no_in_all >= ? AND no_in_all < ? "
        "ORDER BY no_in_all, word_no"));
    q.bind(1, qint64(first));
    q.bind(2, qint64(first + sentences.size()));
    while (q.next()) {
        const qint64 i = q.integer(0) - first;
        if (i < 0 || i >= sentences.size())
            continue;
        (q.integer(2) == KindKeyword ? sentences[i].keywords : sentences[i].newwords)
            .append(int(q.integer(1)));
    }
    return q.done();
}

} // namespace

std::optional<LessonData> SentraBook::readLesson(int lessonNo, bool withSound) const
{
    const std::optional<LessonInfo> info = lessonInfo(lessonNo);
    if (!info)
        return std::nullopt;
    SqliteDb &db = m_impl->db;
    LessonData lesson;
    lesson.title = info->title;
    SqliteStatement q = db.prepare(sentenceSelect(m_impl->hasNudges)
                                   + QStringLiteral("WHERE s.no_in_all >= ? AND s.no_in_all < ? "
                                                    "ORDER BY s.no_in_all"));
    q.bind(1, qint64(info->firstSentence));
    q.bind(2, qint64(info->firstSentence + info->sentenceCount));
    lesson.sentences.reserve(info->sentenceCount);
    while (q.next()) {
        if (q.integer(0) != info->firstSentence + lesson.sentences.size())
            break;
        lesson.sentences.append(sentenceFromRow(q));
    }
    if (!q.done() || lesson.sentences.size() != info->sentenceCount
        || !readMarks(db, info->firstSentence, lesson.sentences)) {
        m_error = QStringLiteral("lesson %1 of the book is damaged").arg(lessonNo);
        return std::nullopt;
    }
    if (withSound)
        lesson.sound = lessonSound(lessonNo);
    return lesson;
}

QByteArray SentraBook::lessonSound(int lessonNo) const
{
    if (!lessonInfo(lessonNo))
        return {};
    SqliteStatement q = m_impl->db.prepare(
        QStringLiteral("SELECT sound FROM lesson WHERE lesson_no = ?"));
    q.bind(1, qint64(lessonNo));
    return q.next() ? q.blob(0) : QByteArray();
}

std::optional<SentenceData> SentraBook::sentence(int noInAll) const
{
    if (lessonOfSentence(noInAll) < 0) {
        m_error = QStringLiteral("there is no sentence %1").arg(noInAll);
        return std::nullopt;
    }
    SqliteDb &db = m_impl->db;
    SqliteStatement q = db.prepare(sentenceSelect(m_impl->hasNudges)
                                   + QStringLiteral("WHERE s.no_in_all = ?"));
    q.bind(1, qint64(noInAll));
    if (!q.next()) {
        m_error = QStringLiteral("sentence %1 of the book is missing").arg(noInAll);
        return std::nullopt;
    }
    QList<SentenceData> one{sentenceFromRow(q)};
    if (!readMarks(db, noInAll, one)) {
        m_error = QStringLiteral("sentence %1 of the book is damaged").arg(noInAll);
        return std::nullopt;
    }
    return one.first();
}

QStringList SentraBook::sentenceWords(int noInAll) const
{
    const std::optional<SentenceData> s = sentence(noInAll);
    return s ? SentenceWords::words(s->english) : QStringList();
}

} // namespace mvx::sentra
