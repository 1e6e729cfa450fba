#pragma once
// The copy command the two word-sound windows share: finds the library on a mounted
// volume, or lets the learner choose the folder that holds it, copies it into the home's
// "snd" folder with a progress window the learner can cancel, and tells the learner how
// it went. Returns true when the library was copied (the window then closes).
#include <QString>
#include <functional>

class QWidget;

namespace mvx {

bool RunWordSoundCopy(QWidget *owner);

// Answers "which folder holds the word sounds" in place of the folder dialog (tests);
// an empty chooser restores the dialog. An empty answer means the learner gave up.
using WordSoundFolderChooser = std::function<QString(QWidget *owner)>;
void SetWordSoundFolderChooser(WordSoundFolderChooser chooser);

} // namespace mvx
