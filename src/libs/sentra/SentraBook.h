#pragma once
// One sentence book: a SQLite file holding lessons (title, encoded sound), their sentences
// (times, English, Chinese, comment, title flag, degree), word marks and stored word meanings.
// The schema is described in BOOK_FORMAT.md beside this file.
//
// Contract:
// - Sentences are addressed by their number in all (the lesson's first number + the number
//   in the lesson), lessons by their number from 0, words by their number from 1.
// - Every change is one SQLite transaction: a change is either all in the file or not at all,
//   also when the process is killed while writing.
// - Nothing throws; a failed call returns false / -1 / std::nullopt / an empty value, changes
//   nothing, and leaves a message in lastError().
// - Not thread-safe; one object per thread.
#include "libs/sentra/SentenceTiming.h"
#include "libs/sentra/SentraTypes.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace mvx::sentra {

class LessonSound;

class SentraBook final
{
public:
    static constexpr int FormatVersion = 3; // 2: dictation results, 3: time nudges
    static constexpr int SoundRate = 22050; // rate of every sentence sound the book writes

    SentraBook();
    ~SentraBook();
    SentraBook(const SentraBook &) = delete;
    SentraBook &operator=(const SentraBook &) = delete;

    // Creates a new, empty book open for writing. An existing file is refused unless
    // replaceExisting is true (it is then deleted first).
    bool create(const QString &path, bool replaceExisting = false);
    // Opens an existing book; refuses files that are not books of a known format version.
    bool open(const QString &path, bool writable);
    void close();
    [[nodiscard]] bool isOpen() const;
    [[nodiscard]] bool isWritable() const;
    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] QString lastError() const { return m_error; }

    [[nodiscard]] QString bookTitle() const;
    bool setBookTitle(const QString &title);

    // Appends a lesson with its sound and sentences; returns its number, or -1 (nothing added)
    // when the book is read-only, the sound cannot be decoded, a time is wrong, a word number
    // is past its sentence, or the lesson has more than MaxSentencesPerLesson sentences.
    int addLesson(const LessonData &lesson);

    [[nodiscard]] int lessonCount() const;
    [[nodiscard]] std::optional<LessonInfo> lessonInfo(int lessonNo) const;
    // The lesson with its sentences and marks; the sound bytes only when withSound is true.
    [[nodiscard]] std::optional<LessonData> readLesson(int lessonNo, bool withSound = false) const;
    [[nodiscard]] QByteArray lessonSound(int lessonNo) const;

    [[nodiscard]] int sentenceCount() const; // in the whole book
    [[nodiscard]] std::optional<SentenceData> sentence(int noInAll) const;
    [[nodiscard]] int lessonOfSentence(int noInAll) const; // -1 when out of range
    // The words of the sentence's English, in page order: words()[k - 1] is word k.
    [[nodiscard]] QStringList sentenceWords(int noInAll) const;

    // Changes the texts that are given (nullopt = keep). When the English changes, word marks
    // stay on the same words where those words are still in the sentence; meanings stay.
    bool modifySentence(int noInAll, const std::optional<QString> &english,
                        const std::optional<QString> &chinese,
                        const std::optional<QString> &comment);
    bool setDegree(int noInAll, int degree);

    // The first dictation check of a sentence: right words of all, and when. A book of the
    // first format read without writing has none. Changing the English clears it.
    struct DictationScore
    {
        int wordsRight = 0;
        int wordsTotal = 0;
        QDateTime at;
    };
    [[nodiscard]] std::optional<DictationScore> dictation(int noInAll) const;
    // Every dictation result of a lesson's sentences, by number in all.
    [[nodiscard]] QHash<int, DictationScore> lessonDictations(int lessonNo) const;
    bool setDictation(int noInAll, int wordsRight, int wordsTotal, const QDateTime &at);

    // Toggles or sets the mark of word wordNo (from 1). wordLength > 0 must equal the word's
    // length (a check that the caller's page still matches the book); <= 0 skips the check.
    // Returns whether the word is marked afterwards, or nullopt (nothing changed) on failure.
    std::optional<bool> changeWordMark(int noInAll, int wordNo, int wordLength, WordMarkKind kind,
                                       WordMarkChange change);
    [[nodiscard]] bool isWordMarked(int noInAll, int wordNo, WordMarkKind kind) const;

    // Meanings stored for a word of a sentence (word compared without regard to case).
    [[nodiscard]] QString wordMeaning(int noInAll, const QString &word) const;
    bool setWordMeaning(int noInAll, const QString &word, const QString &meaning);

    // The learner's timing nudges. A sentence's heard times are the maker's times (startMs,
    // endMs, never changed) plus its stored offsets; every cut uses the heard times.
    // The limits of a nudge: the previous sentence's heard start (0 for a lesson's first) and
    // the next sentence's heard end or the sound's length (the lesson's last).
    [[nodiscard]] std::optional<TimingLimits> timingLimits(int noInAll);
    // Moves one edge of the heard span by deltaMs, held in the limits (NudgeSpan); returns
    // the new heard span, or nullopt (nothing changed) for a read-only book or a bad number.
    std::optional<TimeSpan> nudgeSentence(int noInAll, SentenceEdge edge, int deltaMs);
    // Sets the heard span outright (an undo): it must keep MinSentenceMs and lie in the limits.
    bool setHeardTimes(int noInAll, TimeSpan heard);
    // Puts the sentence back to the maker's times.
    bool restoreSentenceTimes(int noInAll);

    // The sentence's stretch of the lesson sound at 22050 Hz mono, from its heard start to
    // its heard end: exactly round(end * 22050 / 1000) - round(start * 22050 / 1000) samples
    // (silence past the end of the sound). The lesson's decoder stays open between calls, so the next cut of
    // the same lesson seeks instead of decoding from the start.
    bool cutSentence(int noInAll, std::vector<qint16> &samples);
    // Writes the cut as a 16-bit mono WAV file (replaced whole, never left half-written).
    bool writeSentenceWav(int noInAll, const QString &wavPath);
    // Writes the cut as a 96 kbit/s MP3 file.
    bool writeSentenceMp3(int noInAll, const QString &mp3Path);

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
    QString m_path;
    mutable QString m_error;
};

} // namespace mvx::sentra
