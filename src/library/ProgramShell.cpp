#include "ProgramShell.h"

#include "ArticleForm.h"
#include "CopyWordSndForm.h"
#include "ShellWindows.h"
#include "core/AppState.h"
#include "core/InstallLayout.h"
#include "core/ProgramHome.h"
#include "core/SettingsStore.h"
#include "core/StartUp.h"
#include "player/form/PlayLessonForm.h"
#include "player/playback/PlaybackController.h"
#include "quiz/FirstTestForm.h"
#include "libs/comm/CommLib.h"
#include "libs/echomax/EchoMaxLib.h"
#include "libs/notedict/NoteDictLib.h"
#include "libs/notedict/ui/NoteDictWindows.h"
#include "ui/MessageBox.h"

#ifdef MVX_HAVE_PAGES
#include "player/pages/SceneGraphSetup.h"
#endif

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace mvx {

bool OpenLessonPlayer(QWidget *library, const QString &bookFile, int lessonNo, int sentence)
{
    QPointer<PlayLessonForm> player = new PlayLessonForm();
    player->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(player, &PlayLessonForm::closed, library, [library] { library->show(); });
    player->Load();
    player->OpenLesson(bookFile, lessonNo, true);
    if (player && player->Controller().PlayStatus() == NoLesson) {
        // It has said why; an empty player would only stand between the learner and
        // the library.
        player->reject();
        return true;
    }
    if (!player)
        return true;
    if (sentence >= 0) {
        player->Controller().SetCurSentence(sentence);
        player->Controller().SetStatus(Stopped);
    }
    player->show();
    player->StartTimerHint();
    return true;
}

namespace {

// The outside libraries: sound centre, speech and launcher (common library), the
// repeater library, the dictionary and notebook library.
class ShellLibraries final : public StartUpLibraries
{
public:
    void echomaxproNop() override { vcEchomaxproNop(); }
    void setNoteDictHelpFile(const QString &helpFile) override { bcNoteDict_SetHelpFile(helpFile); }
    void startLauncher(const QString &programPath) override { vcStartSp(programPath); }
    int sndCenterOpen() override { return vcSndCenter_Open(-1, 16, 22050, 1); }
    bool isTtsAvailable(int soundCentre) override { return vcSndCenter_IsTtsAvailable(soundCentre) != 0; }
    QString setTtsVoiceName(int soundCentre, const QString &name) override
    {
        QString voice = name;
        vcSndCenter_SetTtsVoiceName(soundCentre, voice);
        return voice;
    }
    int addSndLib(int soundCentre, const QString &indexFile, const QString &folder, int kind) override
    {
        return vcSndCenter_AddSndLib(soundCentre, indexFile, folder, kind);
    }
    int ecDictOpen(const QString &indexFile, const QString &dataFile) override
    {
        return bcEcDict_Open(indexFile, dataFile);
    }
    void noteDictInit(int soundCentre, int dictionary, const QString &appName) override
    {
        bcNoteDictInitEx(soundCentre, dictionary, appName, QString(), 0);
    }
    void ecDictClose(int dictionary) override { bcEcDict_Close(dictionary); }
    void sndCenterClose(int soundCentre) override { vcSndCenter_Close(soundCentre); }
};

} // namespace

int RunMainProgram(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    return RunProgramShell(QCoreApplication::applicationDirPath(), args);
}

int RunProgramShell(const QString &programDir, const QStringList &args)
{
    // Windows come and go (the library hides behind a lesson, messages show while no window
    // is visible); the program ends when the library window closes, and only then.
    QApplication::setQuitOnLastWindowClosed(false);
#ifdef MVX_HAVE_PAGES
    pages::ChooseSceneGraphBackendOnce(); // before any window, so every HTML view draws the same way
#endif
    const QString notice = SettingsStore::instance().takeNotice();
    if (!notice.isEmpty())
        QMessageBox::warning(nullptr, App().productTitle, notice);
    // The shipped data, or the learner's own home seeded from it when it cannot be written.
    const ProgramHomeChoice home = ProgramHome::Choose(ShippedDataFolder(programDir));
    if (!home.notice.isEmpty())
        QMessageBox::warning(nullptr, App().productTitle, home.notice);

    SystemPlatformInfo platform;
    ShellWindows windows;
    ShellLibraries libraries;
    StartUpSequence startUp(platform, windows, libraries);
    startUp.setProgramFolder(programDir);
    if (startUp.run(home.path, args) != StartUpResult::Running)
        return 0;
    const int code = QApplication::exec();
    startUp.shutDown();
    return code;
}

} // namespace mvx
