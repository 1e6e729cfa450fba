#pragma once
// Sentence cards for a flash-card program (Anki): one padded, levelled clip per sentence,
// named by the book's sound file name (unique and flat, as a media folder needs), and
// "<book name>-<N>.csv" (UTF-8 without BOM, CR LF, "#separator:Comma", "#html:true",
// "#columns:English,Chinese,Comment,Sound", then one line per sentence with its texts
// HTML-escaped and "[sound:FILE.mp3]"). Everything is written under temporary names and
// renamed at the end: a failure or a cancel leaves the folder as it was.
#include <QList>
#include <QString>
#include <atomic>
#include <functional>

namespace mvx::sentra {
class SentraBook;
}

namespace mvx::excerpt {

class ExcerptFiles;

// Which sentences: counter numbers first..last (as the player's counter shows them), or
// the marked ones (degree 1).
struct CardSelection
{
    bool marked = false;
    int first = 0;
    int last = 0;
};

struct CardRow
{
    QString english;
    QString chinese;
    QString comment;
    QString sound; // file name with ".mp3"
};

class SentenceCards final
{
public:
    // The sentences (numbers in all) of the selection, or an empty list with *error.
    [[nodiscard]] static QList<int> Select(const sentra::SentraBook &book, int lessonNo, const CardSelection &selection,
                                           QString *error);
    // The counter's number of a sentence of the lesson, and back.
    [[nodiscard]] static int CounterNumber(int noInLesson, bool hasTitle) { return hasTitle ? noInLesson : noInLesson + 1; }
    [[nodiscard]] static QString CsvText(const QList<CardRow> &rows);
    [[nodiscard]] static QString CsvName(const QString &bookPath, int lessonNo);

    // Progress: called after each sentence with (done, total); cancel is checked between
    // sentences. Returns the number of cards, or -1 with *error (empty after a cancel).
    static int Export(sentra::SentraBook &book, int lessonNo, const QList<int> &sentences, const QString &folder,
                      int padMs, ExcerptFiles &files, const std::atomic<bool> &cancel,
                      const std::function<void(int, int)> &progress, QString *error);
};

} // namespace mvx::excerpt
