#include "StartUp.h"

#include "AppState.h"
#include "MountedVolumes.h"
#include "SettingsStore.h"
#include "UserSettings.h"
#include "WorkingFiles.h"

#include <QDir>
#include <QFileInfo>

namespace mvx {

namespace {
const QString kWordSndIndex = QStringLiteral("vocabranewsnd.idx");
const QString kSentraKey = QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra");

QString withSlash(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

QString SecondInstanceMessage()
{
    return QStringLiteral("您已经启动了一份 ") + App().productTitle
        + QStringLiteral("  如果您不知道如何继续，请重新启动计算机");
}

QString VistaQuestion()
{
    const QStringList lines = {
        QStringLiteral("要在Vista上运行本软件，必须做一些设置"),
        QStringLiteral("鼠标右键点击“桌面”上的“MorvexLentoria(特别英语)”图标"),
        QStringLiteral("或鼠标右键点击安装目录下本软件的的可执行程序 mvxbrxspecial.exe，然后选择“属性”"),
        QStringLiteral("在“兼容性”中选择“用兼容模式运行这个程序”，然后再选中“Windows XP”，最后点击“确定”按钮就可以了"),
        QStringLiteral("说明书中“用户必读”一节也谈到了如何设置"),
        QStringLiteral("下次运行还要提醒您这一点吗？"),
    };
    return lines.join(QStringLiteral("\r\n\r\n"));
}

QString FindWordSoundLibrary()
{
    AppState &app = App();
    app.wordSndLibFound = false;
    app.wordSndLibDir.clear();
    const QString own = app.appPath + QStringLiteral("/snd/");
    if (QFileInfo::exists(own + kWordSndIndex)) {
        app.wordSndLibFound = true;
        app.wordSndLibDir = own;
    } else {
        const QString root = FindOnMountedVolumes(QStringLiteral("snd/") + kWordSndIndex);
        if (!root.isEmpty()) {
            app.wordSndLibFound = true;
            app.wordSndLibDir = withSlash(root) + QStringLiteral("snd/");
        }
    }
    return app.wordSndLibDir;
}

bool AddWordProgramSoundLibrary(StartUpLibraries &libraries, int soundCentre)
{
    for (const QString &app : QStringList{QStringLiteral("vocabra7"), QStringLiteral("PalmLex")}) {
        const QString installPath = withSlash(GetAppSetting(app, QStringLiteral("user"), QStringLiteral("InstallPath"), {}));
        if (installPath.isEmpty())
            continue;
        const QString index = installPath + QStringLiteral("snd/") + kWordSndIndex;
        if (QFileInfo::exists(index)) {
            libraries.addSndLib(soundCentre, index, installPath + QStringLiteral("snd"), 0);
            return true;
        }
    }
    return false;
}

QString GetSentraInstallPath()
{
    return GetRegistryValue(kSentraKey, QStringLiteral("InstallPath")).left(290);
}

QString GetSentraVersion()
{
    return GetRegistryValue(kSentraKey, QStringLiteral("Version")).left(290);
}

StartUpSequence::StartUpSequence(const PlatformInfo &platform, StartUpWindows &windows,
                                 StartUpLibraries &libraries)
    : m_platform(platform), m_windows(windows), m_libraries(libraries)
{
}

StartUpResult StartUpSequence::run(const QString &appPath, const QStringList &args)
{
    AppState &app = App();
    app.appName = QStringLiteral("mvxbrxspecial");                         // 1
    app.isVistaOrLater = m_platform.isVersion6OrLater();                  // 2
    if (app.isVistaOrLater && GetUserBool(QString::fromLatin1(Key::VistaHint), true)) {
        if (!m_windows.askYesNo(VistaQuestion()))
            SaveUserSetting(QString::fromLatin1(Key::VistaHint), QStringLiteral("0"));
    }
    app.appPath = QDir::cleanPath(appPath);                                // 3
    QDir::setCurrent(app.appPath);
    // The launcher starts this program from here and counts the notebook's due words.
    const QString programFolder = QDir::cleanPath(m_programFolder.isEmpty() ? app.appPath : m_programFolder);
    SaveAppSetting(app.appName, QStringLiteral("User"), QStringLiteral("InstallPath"), programFolder + QLatin1Char('/'));
    SaveAppSetting(app.appName, QStringLiteral("User"), QStringLiteral("NotebookFile"),
                   app.appPath + QStringLiteral("/notebook/brxspecial_note"));
    if (!m_platform.htmlEngineUsable()) {                                  // 4
        m_windows.showBrowserNotice();
        return StartUpResult::RefusedBrowser;
    }
    m_libraries.echomaxproNop();                                           // 5
    m_libraries.setNoteDictHelpFile(QStringLiteral("mvxbrxspecial.chm"));  // 6
    app.mainCaption = QStringLiteral("Lentoria");                          // 7
    app.dialogCaption = QStringLiteral("Lentoria-Dialog");
    app.noteProductTag = QStringLiteral("kbt");                            // 8
    LoadDisplaySettings();                                                 // 9
    WorkingFiles::EnsureFolders(app.appPath, WorkingFiles::EarlyFolders);  // 10
    const QString commandLine = args.join(QLatin1Char(' '));               // 11
    app.skinRoot = app.appPath + QStringLiteral("/ecminterface");          // 12
    m_libraries.startLauncher(programFolder + QStringLiteral("/vantrelspirit")); // 13 (beside this program)
    WorkingFiles::EnsureFolders(app.appPath, WorkingFiles::TmpWavFolder);  // 14
    app.productTitle = QStringLiteral("Morvex英语Lentoria");               // 15
    m_instance = std::make_unique<SingleInstance>(app.appName);            // 16
    if (!m_instance->tryAcquire()) {
        m_windows.showMessage(SecondInstanceMessage());
        return StartUpResult::RefusedSecondInstance;
    }
    m_windows.checkNewMessages();                                          // 17
    app.startedForArticle = commandLine == QLatin1String("LoadArticle");   // 18
    LoadPlaybackSettings();                                                // 19
    WorkingFiles::EnsureFolders(app.appPath, WorkingFiles::LateFolders);   // 20
    app.wordSoundCentre = m_libraries.sndCenterOpen();                     // 21
    if (m_libraries.isTtsAvailable(app.wordSoundCentre)) {                 // 22
        const QString wanted = GetUserSetting(QString::fromLatin1(Key::TtsVoiceName),
                                              DefaultFor(QString::fromLatin1(Key::TtsVoiceName)));
        app.ttsVoiceName = m_libraries.setTtsVoiceName(app.wordSoundCentre, wanted);
    }
    app.lessonLibName = QStringLiteral("brxspecial");                      // 23
    m_libraries.addSndLib(app.wordSoundCentre, QStringLiteral("brxspecial/") + app.lessonLibName + QStringLiteral(".idx"),
                          QStringLiteral("brxspecial/"), 2);
    app.wordSndLibSource = 0;                                              // 24
    bool found = false;
    const QString folder = FindWordSoundLibrary();
    if (!folder.isEmpty()) {
        m_libraries.addSndLib(app.wordSoundCentre, folder + kWordSndIndex, folder, 0);
        found = true;
        app.wordSndLibSource = 3;
    } else if (AddWordProgramSoundLibrary(m_libraries, app.wordSoundCentre)) {
        found = true;
        app.wordSndLibSource = 1;
    } else {
        const QString sentra = withSlash(GetSentraInstallPath());
        if (!sentra.isEmpty() && QFileInfo::exists(sentra + QStringLiteral("sndlib/") + kWordSndIndex)) {
            m_libraries.addSndLib(app.wordSoundCentre, sentra + QStringLiteral("sndlib/") + kWordSndIndex,
                                  sentra + QStringLiteral("sndlib/"), 0);
            found = true;
            app.wordSndLibSource = 2;
        }
    }
    if (!found && GetUserBool(QString::fromLatin1(Key::CopySndHint), true))  // 25
        m_windows.showCopyWordSndForm();
    app.ecDictHandle = m_libraries.ecDictOpen(QStringLiteral("mvxdictec.idx"), QStringLiteral("mvxdictec.lib")); // 26
    m_libraries.noteDictInit(app.wordSoundCentre, app.ecDictHandle, app.appName); // 27
    m_windows.showArticleForm();                                           // 28
    return StartUpResult::Running;
}

void StartUpSequence::shutDown()
{
    AppState &app = App();
    m_libraries.ecDictClose(app.ecDictHandle);
    m_libraries.sndCenterClose(app.wordSoundCentre);
    app.ecDictHandle = -1;
    app.wordSoundCentre = -1;
    WorkingFiles::DeleteRandomSounds(app.appPath);
    if (m_instance)
        m_instance->release();
}

} // namespace mvx
