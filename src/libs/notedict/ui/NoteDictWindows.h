#pragma once
// The library operations that open its windows. One dictionary pop-up and one notebook
// window exist at a time; a new look-up replaces the pop-up, a new load replaces the
// notebook window. The owner window receives the private messages 2259, 2260, 2261
// and 2263 as PrivateMessageEvent (core/CustomEvents.h).
#include <QString>

class QWidget;

namespace mvx {

class DictPopupForm;
class NotebookForm;

// Shows the dictionary pop-up for word beside the rectangle (screen pixels) with the
// meaning stored for this sentence (empty for none). Returns 1 when shown, 0 when there
// is nothing to look up.
int bcEcDict_PopSearchWnd(QWidget *owner, int dictHandle, const QString &word, int x, int y, int width, int height,
                          const QString &storedMeaning, int reserved1 = -1, int reserved2 = -1);

// Loads the notebook window for owner with the words of rangeText (empty: all words) at
// left, top (twips; 0, 0 centres it). Returns the number of words, -1 when there are
// none or the notebook files are missing. A damaged file is set aside and said so in a
// message box. The window is shown by bcNote_Show or bcNote_ShowModal.
int bcNote_LoadEx(QWidget *owner, const QString &noteFile, const QString &libFile, const QString &appName, int left,
                  int top, int reserved1, int reserved2, int reserved3, const QString &rangeText);
// Hides (show = 0) or shows a button of the loaded notebook window: "btShowSource",
// "btMatchWithSrc", "Sort", ...
void bcNote_ShowButton(const QString &buttonName, int show);
void bcNote_Show();
// Returns when the window closes.
int bcNote_ShowModal();

// The spelling window (whole-sentence dictation) over sentences first .. first + count - 1 of
// the book, parented to owner; level: how often each sentence may be heard (0 = no limit).
// Returns 1, or 0 after telling the learner why (unreadable book, range outside the book,
// count below 1, no words): no window then. The wrong and missing words the learner keeps go
// to the notebook named (a bare name is that file in the notebook folder).
int bcSpell_Init(QWidget *owner, const QString &bookFile, int first, int count, const QString &noteName);
int bcSpell_InitEx(QWidget *owner, const QString &bookFile, int first, int count, int level,
                   const QString &noteName);
// Shows the prepared window modally (the drill, or the closing test with its score); returns
// when it closes: 1, or 0 when nothing was prepared.
int bcSpell_LoadAndShowNoDegree(int reserved);
int bcSpell_LoadAndShowForTest(int reserved);
// Non-zero when the last spelling window changed sentences of the book.
int bcSpell_IfSentenceChanged();
// Reviews the words of rangeText ("" for the whole notebook) due now in a modal window over
// owner. Returns the number of answers given; -1 when none was due (said so) or the
// notebook cannot be read (said why).
int bcNote_ShowReview(QWidget *owner, const QString &noteFile, const QString &libFile, const QString &appName,
                      const QString &rangeText);

[[nodiscard]] DictPopupForm *CurrentDictPopup();
[[nodiscard]] NotebookForm *CurrentNotebook();
// Closes both windows (at program end and in tests).
void CloseNoteDictWindows();

} // namespace mvx
