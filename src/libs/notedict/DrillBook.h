#pragma once
// What the drill windows share about their book: the range of sentences they cover, and the
// learner's corrections of a sentence's English and Chinese, stored at once.
#include <QString>
#include <optional>

namespace mvx::sentra {
class SentraBook;
}

namespace mvx {

struct DrillRange
{
    int first = 0;
    int count = 0;
};

// Sentences first .. first + count - 1 of the open book. A count below 1 or a first number
// outside the book is refused (*error for the learner). With clipToLesson the range ends at
// the end of first's lesson (browsing and the summary are handed one more than there is);
// without it a range past the book is refused.
std::optional<DrillRange> CheckDrillRange(const sentra::SentraBook &book, int first, int count, bool clipToLesson,
                                          QString *error);

// The notebook file a drill window is handed: a bare name ("brxspecial_note") is that file in
// the notebook folder; "notebook\brxspecial_note" is read with either slash.
QString DrillNotebookFile(const QString &noteName);

// The source reference of a sentence for a notebook word: "#tag|book file name|number".
QString DrillWordSource(const QString &bookFile, int noInAll);

// The message when a book cannot be opened.
QString BookOpenFailedText(const QString &bookFile);

// Stores the corrected English and Chinese of sentence noInAll (unchanged texts are kept).
// Returns "" when stored or nothing changed, else the reason for the learner (the book is
// read-only, a sentence over 500 words, ...). *changed tells whether the book changed.
QString CorrectSentence(sentra::SentraBook &book, int noInAll, const QString &english, const QString &chinese,
                        bool *changed);

} // namespace mvx
