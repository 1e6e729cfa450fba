// SentraBook: the learner's changes (texts, degrees, word marks, meanings), each one
// transaction.
#include "SentenceWords.h"
#include "SentraBookImpl.h"
#include "SoundFiles.h"

#include <cstdlib>

namespace mvx::sentra {

namespace {

struct StoredMark
{
    int wordNo;
    int kind;
    QString word;
};

// Where a mark on `word`, formerly word `wordNo`, belongs among the new words: the same
// number when the word is still there, else the nearest word with that text, else nowhere (0).
int remapMark(const StoredMark &m, const QStringList &words, const QList<int> &taken)
{
    if (m.wordNo >= 1 && m.wordNo <= words.size() && words[m.wordNo - 1] == m.word)
        return m.wordNo;
    int best = 0;
    for (int k = 1; k <= words.size(); ++k) {
        if (words[k - 1] != m.word || taken.contains(k))
            continue;
        if (best == 0 || std::abs(k - m.wordNo) < std::abs(best - m.wordNo))
            best = k;
    }
    return best;
}

} // namespace

bool SentraBook::modifySentence(int noInAll, const std::optional<QString> &english,
                                const std::optional<QString> &chinese,
                                const std::optional<QString> &comment)
{
    if (!isWritable()) {
        m_error = QStringLiteral("the book is not open for writing");
        return false;
    }
    const std::optional<SentenceData> old = sentence(noInAll);
    if (!old)
        return false;
    if (english && SentenceWords::words(*english).size() > MaxWordsPerSentence) {
        m_error = QStringLiteral("a sentence holds at most %1 words").arg(MaxWordsPerSentence);
        return false;
    }
    SqliteDb &db = m_impl->db;
    SqliteTransaction tx(db);
    if (!tx.isActive()) {
        m_error = db.lastError();
        return false;
    }
    SqliteStatement q = db.prepare(QStringLiteral(
        "UPDATE sentence SET english = ?, chinese = ?, comment = ? WHERE no_in_all = ?"));
    q.bind(1, english.value_or(old->english));
    q.bind(2, chinese.value_or(old->chinese));
    q.bind(3, comment.value_or(old->comment));
    q.bind(4, qint64(noInAll));
    bool ok = q.exec();
    if (ok && english && *english != old->english && m_impl->hasDictation) {
        SqliteStatement qc = db.prepare(QStringLiteral("DELETE FROM dictation WHERE no_in_all = ?"));
        qc.bind(1, qint64(noInAll));
        ok = qc.exec();
    }
    if (ok && english && *english != old->english) {
        QList<StoredMark> marks;
        SqliteStatement qr = db.prepare(QStringLiteral(
            "SELECT word_no, kind, word FROM word_mark WHERE no_in_all = ? ORDER BY word_no"));
        qr.bind(1, qint64(noInAll));
        while (qr.next())
            marks.append({int(qr.integer(0)), int(qr.integer(1)), qr.text(2)});
        ok = qr.done();
        SqliteStatement qd = db.prepare(QStringLiteral("DELETE FROM word_mark WHERE no_in_all = ?"));
        qd.bind(1, qint64(noInAll));
        ok = ok && qd.exec();
        const QStringList words = SentenceWords::words(*english);
        SqliteStatement qi = db.prepare(QStringLiteral(
            "INSERT OR IGNORE INTO word_mark (no_in_all, word_no, kind, word) VALUES (?, ?, ?, ?)"));
        for (int kind : {KindKeyword, KindNewword}) {
            QList<int> taken;
            for (const StoredMark &m : marks) {
                if (m.kind != kind)
                    continue;
                const int k = remapMark(m, words, taken);
                if (k == 0)
                    continue;
                taken.append(k);
                qi.reset();
                qi.bind(1, qint64(noInAll));
                qi.bind(2, qint64(k));
                qi.bind(3, qint64(kind));
                qi.bind(4, words[k - 1]);
                ok = ok && qi.exec();
            }
        }
    }
    if (!ok || !tx.commit()) {
        m_error = QStringLiteral("cannot change sentence %1: %2").arg(noInAll).arg(db.lastError());
        return false;
    }
    return true;
}

bool SentraBook::setDegree(int noInAll, int degree)
{
    if (!isWritable()) {
        m_error = QStringLiteral("the book is not open for writing");
        return false;
    }
    if (lessonOfSentence(noInAll) < 0 || degree < 0 || degree > 255) {
        m_error = QStringLiteral("no degree %1 for sentence %2").arg(degree).arg(noInAll);
        return false;
    }
    SqliteStatement q = m_impl->db.prepare(
        QStringLiteral("UPDATE sentence SET degree = ? WHERE no_in_all = ?"));
    q.bind(1, qint64(degree));
    q.bind(2, qint64(noInAll));
    if (!q.exec()) {
        m_error = m_impl->db.lastError();
        return false;
    }
    return true;
}

std::optional<SentraBook::DictationScore> SentraBook::dictation(int noInAll) const
{
    if (!isOpen() || !m_impl->hasDictation)
        return std::nullopt;
    SqliteStatement q = m_impl->db.prepare(
        QStringLiteral("SELECT words_right, words_total, at FROM dictation WHERE no_in_all = ?"));
    q.bind(1, qint64(noInAll));
    if (!q.next())
        return std::nullopt;
    return DictationScore{int(q.integer(0)), int(q.integer(1)), QDateTime::fromString(q.text(2), Qt::ISODate)};
}

QHash<int, SentraBook::DictationScore> SentraBook::lessonDictations(int lessonNo) const
{
    QHash<int, DictationScore> out;
    const std::optional<LessonInfo> info = lessonInfo(lessonNo);
    if (!info || !m_impl->hasDictation)
        return out;
    SqliteStatement q = m_impl->db.prepare(QStringLiteral(
        "SELECT no_in_all, words_right, words_total, at FROM dictation WHERE no_in_all >= ? AND no_in_all < ?"));
    q.bind(1, qint64(info->firstSentence));
    q.bind(2, qint64(info->firstSentence + info->sentenceCount));
    while (q.next())
        out.insert(int(q.integer(0)), DictationScore{int(q.integer(1)), int(q.integer(2)),
                                                     QDateTime::fromString(q.text(3), Qt::ISODate)});
    return out;
}

bool SentraBook::setDictation(int noInAll, int wordsRight, int wordsTotal, const QDateTime &at)
{
    if (!isWritable() || !m_impl->hasDictation) {
        m_error = QStringLiteral("the book is not open for writing");
        return false;
    }
    if (lessonOfSentence(noInAll) < 0 || wordsTotal < 0 || wordsRight < 0 || wordsRight > wordsTotal) {
        m_error = QStringLiteral("no dictation result %1/%2 for sentence %3").arg(wordsRight).arg(wordsTotal).arg(noInAll);
        return false;
    }
    SqliteStatement q = m_impl->db.prepare(QStringLiteral(
        "INSERT OR REPLACE INTO dictation (no_in_all, words_right, words_total, at) VALUES (?, ?, ?, ?)"));
    q.bind(1, qint64(noInAll));
    q.bind(2, qint64(wordsRight));
    q.bind(3, qint64(wordsTotal));
    q.bind(4, at.toString(Qt::ISODate));
    if (!q.exec()) {
        m_error = m_impl->db.lastError();
        return false;
    }
    return true;
}

bool SentraBook::isWordMarked(int noInAll, int wordNo, WordMarkKind kind) const
{
    if (!isOpen())
        return false;
    SqliteStatement q = m_impl->db.prepare(QStringLiteral(
        "SELECT 1 FROM word_mark WHERE no_in_all = ? AND word_no = ? AND kind = ?"));
    q.bind(1, qint64(noInAll));
    q.bind(2, qint64(wordNo));
    q.bind(3, qint64(kindCode(kind)));
    return q.next();
}

std::optional<bool> SentraBook::changeWordMark(int noInAll, int wordNo, int wordLength,
                                               WordMarkKind kind, WordMarkChange change)
{
    if (!isWritable()) {
        m_error = QStringLiteral("the book is not open for writing");
        return std::nullopt;
    }
    const QStringList words = sentenceWords(noInAll);
    if (wordNo < 1 || wordNo > words.size()) {
        m_error = QStringLiteral("sentence %1 has no word %2").arg(noInAll).arg(wordNo);
        return std::nullopt;
    }
    const QString &word = words[wordNo - 1];
    if (wordLength > 0 && wordLength != word.size()) {
        m_error = QStringLiteral("word %1 of sentence %2 is \"%3\", not %4 characters long")
                      .arg(wordNo)
                      .arg(noInAll)
                      .arg(word)
                      .arg(wordLength);
        return std::nullopt;
    }
    const bool was = isWordMarked(noInAll, wordNo, kind);
    const bool now = change == WordMarkChange::Set ? true : !was;
    if (now == was)
        return now;
    SqliteStatement q = m_impl->db.prepare(
        now ? QStringLiteral("INSERT INTO word_mark (no_in_all, word_no, kind, word) "
                             "VALUES (?, ?, ?, ?)")
            : QStringLiteral("DELETE FROM word_mark WHERE no_in_all = ? AND word_no = ? AND kind = ?"));
    q.bind(1, qint64(noInAll));
    q.bind(2, qint64(wordNo));
    q.bind(3, qint64(kindCode(kind)));
    if (now)
        q.bind(4, word);
    if (!q.exec()) {
        m_error = m_impl->db.lastError();
        return std::nullopt;
    }
    return now;
}

QString SentraBook::wordMeaning(int noInAll, const QString &word) const
{
    if (!isOpen())
        return {};
    SqliteStatement q = m_impl->db.prepare(QStringLiteral(
        "SELECT meaning FROM word_meaning WHERE no_in_all = ? AND word_key = ?"));
    q.bind(1, qint64(noInAll));
    q.bind(2, word.trimmed().toLower());
    return q.next() ? q.text(0) : QString();
}

bool SentraBook::setWordMeaning(int noInAll, const QString &word, const QString &meaning)
{
    if (!isWritable()) {
        m_error = QStringLiteral("the book is not open for writing");
        return false;
    }
    const QString key = word.trimmed().toLower();
    if (lessonOfSentence(noInAll) < 0 || key.isEmpty()) {
        m_error = QStringLiteral("no word \"%1\" in sentence %2").arg(word).arg(noInAll);
        return false;
    }
    SqliteStatement q = m_impl->db.prepare(
        meaning.isEmpty()
            ? QStringLiteral("DELETE FROM word_meaning WHERE no_in_all = ? AND word_key = ?")
            : QStringLiteral("INSERT OR REPLACE INTO word_meaning (no_in_all, word_key, word, "
                             "meaning) VALUES (?, ?, ?, ?)"));
    q.bind(1, qint64(noInAll));
    q.bind(2, key);
    if (!meaning.isEmpty()) {
        q.bind(3, word.trimmed());
        q.bind(4, meaning);
    }
    if (!q.exec()) {
        m_error = m_impl->db.lastError();
        return false;
    }
    return true;
}

} // namespace mvx::sentra
