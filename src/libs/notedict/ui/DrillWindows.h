#pragma once
// The library operations that open the drill windows beside the spelling window: the
// shuffled recitation, the speaking drill, sentence browsing and the word summary. Each
// Init checks the book and the range and tells the learner why when it cannot run (then no
// window opens); the show call runs the window modally over its owner and returns when the
// learner closes it. The book file name is handed over as a modifiable text: the name the
// window leaves there is the one the caller keeps using.
#include <QString>

class QWidget;

namespace mvx {

// Shuffled recitation over sentences first .. first + count - 1 (cardCount is that count).
int bcShuffleRecite_InitEx(QWidget *owner, QString &bookFile, int first, int count, int cardCount,
                           const QString &noteName);
int bcShuffleRecite_LoadAndShowNoDegree(int reserved);
int bcShuffleRecite_IfSentenceChanged();

int bcSpeak_Init(QWidget *owner, QString &bookFile, int first, int count, const QString &noteName);
int bcSpeak_LoadAndShow();
int bcSpeak_IfSentenceChanged();

// Browsing over first .. first + count - 1, clipped at the end of first's lesson, with the
// notebook's words of those sentences (noteFile: "notebook\brxspecial_note" or a bare name).
int bcBrowse_Init(QWidget *owner, QString &bookFile, int first, int count, const QString &noteFile);
int bcBrowse_LoadAndShow();
int bcBrowse_IfSentenceChanged();

// Prepares the summary of first .. first + count - 1 (clipped at the lesson's end) into the
// two working files; mode 2: key and new words, 1: key words, 0: new words. Returns the
// number of words, -1 when the range holds none of the asked kinds (nothing said), 0 after
// telling the learner why it cannot run.
int bcWordSummary_Init(QWidget *owner, QString &bookFile, int first, int count, int mode, const QString &summaryFile,
                       const QString &summaryLibFile);
// Shows the prepared summary; meanings the book lacks come from the dictionary files.
int bcWordSummary_LoadAndShowEx2(const QString &summaryFile, const QString &summaryLibFile, const QString &appName,
                                 int reserved, const QString &dictIdx, const QString &dictLib);

} // namespace mvx
