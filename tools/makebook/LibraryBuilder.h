#pragma once
// Builds the bundled sample library into the program home: every article source becomes
// one book (title line, sentences, Chinese, comments, key words) whose sound is spoken by
// espeak-ng sentence by sentence with a fixed pause after each, every article is listed in
// the article index under its category, and every book's quiz source is checked and
// copied to "quiz/". Everything is made in a scratch folder first and moved into place
// only when all of it succeeded. Articles of the learner's own that the home's index
// already lists are listed again in the new index, under the same categories.
#include <QString>
#include <QStringList>

namespace mvx {

struct LibraryBuildOptions
{
    QStringList articles; // article source files, in index order
    QString quizDir;      // holds "<book name>.txt" for every book
    QString home;         // the program home
    QString wordList;     // optional: the key words, one per line, are written here
    QString voice = QStringLiteral("en-us");
    int wordsPerMinute = 125;
    int leadMs = 300;    // silence before the first sentence
    int pauseMs = 600;   // silence after every sentence (the player stops 150 ms before the end)
};

class LibraryBuilder final
{
public:
    static constexpr auto IndexName = "BrxSpecialIdx.txt";
    static constexpr auto BookFolder = "brxspecial";
    static constexpr auto QuizFolder = "quiz";

    // Returns an empty text on success, else what went wrong (file and line where known).
    [[nodiscard]] static QString build(const LibraryBuildOptions &options);
};

} // namespace mvx
