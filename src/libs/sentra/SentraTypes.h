#pragma once
// Plain records of a sentence book: what a book maker puts in and what readers get back.
// Times are whole milliseconds into the lesson's sound; word numbers start at 1 (the
// numbering of the "wrd" anchors in the pages, see src/libs/sentra/BOOK_FORMAT.md).
#include <QByteArray>
#include <QList>
#include <QString>

namespace mvx::sentra {

// A lesson holds at most this many sentences (the player's degree array has this size).
inline constexpr int MaxSentencesPerLesson = 3501;
// A sentence holds at most this many words (the player's per-word arrays run to index 500).
inline constexpr int MaxWordsPerSentence = 500;

struct SentenceData
{
    int startMs = 0; // start of the sentence in the lesson's sound
    int endMs = 0;   // end (exclusive); must be greater than startMs
    QString english;
    QString chinese;
    QString comment;
    bool isTitle = false; // only sentence 0 of a lesson may be the title line
    int degree = 0;       // the learner's mark of the sentence (0 = none, 1 = marked)
    QList<int> keywords;  // word numbers (1-based) marked as key words
    QList<int> newwords;  // word numbers (1-based) marked as new words
    // The learner's nudges of the start and end (read from the book; a new lesson has none).
    int startOffsetMs = 0;
    int endOffsetMs = 0;
    // The times the learner hears: the maker's times with the nudges.
    [[nodiscard]] int heardStartMs() const { return startMs + startOffsetMs; }
    [[nodiscard]] int heardEndMs() const { return endMs + endOffsetMs; }
};

struct LessonData
{
    QString title;
    // The lesson's sound as the bytes of an encoded file (MP3, WAV, FLAC or OGG); the book
    // keeps them as they are, so a book is one self-contained file.
    QByteArray sound;
    QList<SentenceData> sentences;
};

struct LessonInfo
{
    int lessonNo = -1;
    QString title;
    int firstSentence = 0; // number in all of the lesson's sentence 0
    int sentenceCount = 0;
    bool hasTitle = false;
};

enum class WordMarkKind { Keyword, Newword };

// How a word mark is changed: toggled, or set to marked whatever it was.
enum class WordMarkChange { Toggle, Set };

} // namespace mvx::sentra
