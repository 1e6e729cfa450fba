#include "NoteDictLib.h"

#include "EcDictionary.h"
#include "NotebookStore.h"

#include "core/Helpers.h"

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
    NotebookStore store;
    const bool opened = store.open(ToFsPath(noteFile), ToFsPath(libFile), true);
    if (!store.message().isEmpty())
        c.pendingMessage = store.message();
    if (!opened) {
        c.pendingMessage = store.errorText();
        return 0;
    }
    c.lastAddResult = int(store.addWord(word, meaning, third, source, example));
    return c.lastAddResult;
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
