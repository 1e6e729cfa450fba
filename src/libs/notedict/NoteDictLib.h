#pragma once
// The notebook-and-dictionary library's operations under their old names, over
// EcDictionary and NotebookStore. Handles are positive integers; 0 means failure and an
// unknown handle makes an operation do nothing. Paths are relative to the current folder
// (the program home). Everything runs on the user-interface thread.
// The operations that open windows are declared in ui/NoteDictWindows.h.
#include <QString>

namespace mvx {

class EcDictionary;

// Opens the dictionary pair (index file, data file); 0 when it cannot be opened
// (EcDictLastError() says why).
int bcEcDict_Open(const QString &idxFile, const QString &libFile);
void bcEcDict_Close(int dictHandle);
[[nodiscard]] EcDictionary *EcDictFromHandle(int dictHandle);
[[nodiscard]] QString EcDictLastError();

void bcNoteDict_SetHelpFile(const QString &helpFile);
// Remembers the sound centre, the dictionary and the application name the windows use.
// Returns 1.
int bcNoteDictInitEx(int soundCentre, int dictHandle, const QString &appName, const QString &reserved, int flags);

// Adds the word to the notebook (noteFile, libFile are made when missing); a word
// already there is updated. Returns 1 added, 2 updated, 0 failed. The last value of
// flags is unused (-1 in every call). A damaged notebook is set aside first
// (NoteDictTakeMessage()). The notebook stays open for the next save; the copy of the
// example in libFile follows a moment later (see NotebookStore).
int bcNote_AddWord(const QString &noteFile, const QString &libFile, const QString &word, const QString &meaning,
                   const QString &third, const QString &source, const QString &example, int flags = -1);
// Writes what bcNote_AddWord deferred and closes its notebook (the saving window closes).
void bcNote_CloseNotebook();

// Words due for review now in the notebook file, read without changing it (never made,
// upgraded or set aside). A notebook without a review schedule counts every word.
// -1 when the file is missing, unreadable, busy for more than 200 ms, damaged, not a
// notebook, or of a newer format. Needs no window.
int bcNote_DueCount(const QString &notebookFile);

// The word, meaning and third text that the dictionary pop-up saved last (its "save to
// notebook" or "store meaning" button). False, with empty texts, before any.
bool bcDictDll_GetSavedWord(QString &word, QString &meaning, QString *third = nullptr);

// State shared by the library's windows.
struct NoteDictContext
{
    int soundCentre = -1;
    int dictHandle = 0;
    QString appName;
    QString helpFile;
    QString savedWord, savedMeaning, savedThird;
    bool hasSaved = false;
    // The last bcNote_AddWord: which word and what it returned.
    QString lastAddedWord;
    int lastAddResult = 0;
    // A message for the learner from the storage side (a damaged notebook set aside),
    // shown by whichever window comes next.
    QString pendingMessage;
};
NoteDictContext &NoteDict();
void SetSavedWord(const QString &word, const QString &meaning, const QString &third);
// Returns and clears the pending message.
QString NoteDictTakeMessage();

} // namespace mvx
