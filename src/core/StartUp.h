#pragma once
// The program's start-up and shut-down sequence. The order of the steps lives here;
// the windows it shows and the libraries it opens come in through two small
// interfaces, so tests can follow the whole sequence without any window or library.
#include "PlatformInfo.h"
#include "SingleInstance.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace mvx {

// Windows and questions start-up may show.
class StartUpWindows
{
public:
    virtual ~StartUpWindows() = default;
    virtual bool askYesNo(const QString &text) = 0;   // true = Yes
    virtual void showMessage(const QString &text) = 0; // OK only
    virtual void showBrowserNotice() = 0;              // the HTML engine cannot start
    virtual void checkNewMessages() = 0;               // maker's notices, may show a window
    virtual void showCopyWordSndForm() = 0;            // modal
    virtual void showArticleForm() = 0;                // the library window, not modal
};

// The outside libraries start-up opens, with their handles.
class StartUpLibraries
{
public:
    virtual ~StartUpLibraries() = default;
    virtual void echomaxproNop() = 0;
    virtual void setNoteDictHelpFile(const QString &helpFile) = 0;
    virtual void startLauncher(const QString &programPath) = 0;
    virtual int sndCenterOpen() = 0;
    virtual bool isTtsAvailable(int soundCentre) = 0;
    // Chooses the voice; returns the name really used (the library may rewrite it).
    virtual QString setTtsVoiceName(int soundCentre, const QString &name) = 0;
    virtual int addSndLib(int soundCentre, const QString &indexFile, const QString &folder, int kind) = 0;
    virtual int ecDictOpen(const QString &indexFile, const QString &dataFile) = 0;
    virtual void noteDictInit(int soundCentre, int dictionary, const QString &appName) = 0;
    virtual void ecDictClose(int dictionary) = 0;
    virtual void sndCenterClose(int soundCentre) = 0;
};

// Message shown when a second instance starts.
[[nodiscard]] QString SecondInstanceMessage();
// Text of the compatibility question asked on an operating system of version 6 or later.
[[nodiscard]] QString VistaQuestion();

// Looks for the word-sound library: the home's own "snd" folder first, then mounted volumes.
// Sets App().wordSndLibFound / wordSndLibDir and returns the folder (with "/"), or "".
QString FindWordSoundLibrary();
// Registers a sibling word program's library (vocabra7, then PalmLex) when one is installed.
bool AddWordProgramSoundLibrary(StartUpLibraries &libraries, int soundCentre);
// Install folder and version of the sibling sentence program, from the settings store.
[[nodiscard]] QString GetSentraInstallPath();
[[nodiscard]] QString GetSentraVersion();

enum class StartUpResult { Running, RefusedBrowser, RefusedSecondInstance };

class StartUpSequence final
{
public:
    StartUpSequence(const PlatformInfo &platform, StartUpWindows &windows, StartUpLibraries &libraries);

    // Runs the steps in order. appPath is the program home; args are the command-line
    // arguments after the program name.
    StartUpResult run(const QString &appPath, const QStringList &args);
    // The executable's folder (appPath when unset): the launcher is started from it, and it is
    // stored for the launcher as "InstallPath".
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    // Closes the dictionary and sound centre and deletes the temporary sentence sounds.
    void shutDown();

private:
    const PlatformInfo &m_platform;
    StartUpWindows &m_windows;
    StartUpLibraries &m_libraries;
    std::unique_ptr<SingleInstance> m_instance;
    QString m_programFolder;
};

} // namespace mvx
