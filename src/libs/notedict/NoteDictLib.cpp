#include "NoteDictLib.h"

#include "EcDictionary.h"
#include "NotebookStore.h"

#include "core/Helpers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <map>
#include <memory>

namespace mvx {

namespace {
std::map<int, std::unique_ptr<EcDictionary>> &Dicts()
{
    static std::map<int, std::unique_ptr<EcDictionary>> dicts;
    return dicts;
}
int g_nextDict = 1;
QString g_dictError;

// The notebook bcNote_AddWord saves into, kept open between saves (opening checks both files
// and is most of a save's cost). It yields to nothing: other stores of this process write
// through their own connection and see its deferred copies first (NotebookStore::settle).
NotebookStore &SaveStore()
{
    static NotebookStore store;
    return store;
}
int g_flushRound = 0;

// The deferred example copies follow a moment after the last save.
void ScheduleCopies()
{
    if (!QCoreApplication::instance())
        return;
    const int round = ++g_flushRound;
    QTimer::singleShot(1500, QCoreApplication::instance(), [round] {
        if (round == g_flushRound)
            SaveStore().flushLibCopies();
    });
}
} // namespace

NoteDictContext &NoteDict()
{
    static NoteDictContext ctx;
    return ctx;
}

int bcEcDict_Open(const QString &idxFile, const QString &libFile)
{
    auto dict = std::make_unique<EcDictionary>();
    if (!dict->open(ToFsPath(idxFile), ToFsPath(libFile))) {
        g_dictError = dict->errorText();
        return 0;
    }
    g_dictError.clear();
    const int h = g_nextDict++;
    Dicts()[h] = std::move(dict);
    return h;
}

void bcEcDict_Close(int dictHandle)
{
    Dicts().erase(dictHandle);
    if (NoteDict().dictHandle == dictHandle)
        NoteDict().dictHandle = 0;
}

EcDictionary *EcDictFromHandle(int dictHandle)
{
    const auto it = Dicts().find(dictHandle);
    return it == Dicts().end() ? nullptr : it->second.get();
}

QString EcDictLastError()
{
    return g_dictError;
}

void bcNoteDict_SetHelpFile(const QString &helpFile)
{
    NoteDict().helpFile = helpFile;
}

int bcNoteDictInitEx(int soundCentre, int dictHandle, const QString &appName, const QString &, int)
{
    NoteDictContext &c = NoteDict();
    c.soundCentre = soundCentre;
    c.dictHandle = dictHandle;
    c.appName = appName;
    return 1;
}

int bcNote_AddWord(const QString &noteFile, const QString &libFile, const QString &word, const QString &meaning,
                   const QString &third, const QString &source, const QString &example, int)
{
    NoteDictContext &c = NoteDict();
    c.lastAddedWord = word;
    c.lastAddResult = 0;
    NotebookStore &store = SaveStore();
    const QString note = QFileInfo(ToFsPath(noteFile)).absoluteFilePath();
    const QString lib = QFileInfo(ToFsPath(libFile)).absoluteFilePath();
    for (int attempt = 0; attempt < 2 && c.lastAddResult == 0; ++attempt) {
        // Opened anew for other files, or when a file was set aside, replaced or removed since.
        if (!store.isOpen() || store.noteFile() != note || store.libFile() != lib || !store.filesUnchanged()) {
            const bool opened = store.open(note, lib, true);
            if (!store.message().isEmpty())
                c.pendingMessage = store.message();
            if (!opened) {
                c.pendingMessage = store.errorText();
                return 0;
            }
            store.setDeferredLibCopies(true);
        }
        c.lastAddResult = int(store.addWord(word, meaning, third, source, example));
        if (c.lastAddResult == 0)
            store.close(); // a file damaged in place, say: opened, checked and tried once more
    }
    if (c.lastAddResult != 0)
        ScheduleCopies();
    return c.lastAddResult;
}

void bcNote_CloseNotebook()
{
    SaveStore().close();
}

int bcNote_DueCount(const QString &notebookFile)
{
    return NotebookStore::dueCount(ToFsPath(notebookFile), 200);
}

bool bcDictDll_GetSavedWord(QString &word, QString &meaning, QString *third)
{
    const NoteDictContext &c = NoteDict();
    word = c.savedWord;
    meaning = c.savedMeaning;
    if (third)
        *third = c.savedThird;
    return c.hasSaved;
}

void SetSavedWord(const QString &word, const QString &meaning, const QString &third)
{
    NoteDictContext &c = NoteDict();
    c.savedWord = word;
    c.savedMeaning = meaning;
    c.savedThird = third;
    c.hasSaved = true;
}

QString NoteDictTakeMessage()
{
    return std::exchange(NoteDict().pendingMessage, QString());
}

} // namespace mvx
