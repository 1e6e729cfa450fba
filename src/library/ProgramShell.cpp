#include "ProgramShell.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "core/StartUp.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <memory>

namespace mvx {

namespace {

// Windows start-up shows. Plain message boxes stand in where skinned windows come later.
class ShellWindows final : public StartUpWindows
{
public:
    bool askYesNo(const QString &text) override
    {
        return QMessageBox::question(nullptr, App().productTitle, text) == QMessageBox::Yes;
    }
    void showMessage(const QString &text) override { QMessageBox::information(nullptr, App().productTitle, text); }
    void showBrowserNotice() override
    {
        QMessageBox::warning(nullptr, QStringLiteral("Morvex英语Brixa精听"),
                             QStringLiteral("本软件需要网页显示组件（Qt WebEngine）才能显示课文，但它无法启动。"
                                            "请安装 qt6-webengine 后再运行本软件。"));
    }
    void checkNewMessages() override {}
    void showCopyWordSndForm() override {}
    void showArticleForm() override
    {
        m_library = std::make_unique<QLabel>(QStringLiteral("Lentoria"));
        m_library->setWindowTitle(App().mainCaption);
        m_library->setAttribute(Qt::WA_QuitOnClose);
        m_library->resize(480, 320);
        m_library->show();
    }

private:
    std::unique_ptr<QLabel> m_library;
};

// The outside libraries; each call reaches its library as that library lands.
class ShellLibraries final : public StartUpLibraries
{
public:
    void echomaxproNop() override {}
    void setNoteDictHelpFile(const QString &) override {}
    void startLauncher(const QString &) override {}
    int sndCenterOpen() override { return -1; }
    bool isTtsAvailable(int) override { return false; }
    QString setTtsVoiceName(int, const QString &name) override { return name; }
    int addSndLib(int, const QString &, const QString &, int) override { return -1; }
    int ecDictOpen(const QString &, const QString &) override { return -1; }
    void noteDictInit(int, int, const QString &) override {}
    void ecDictClose(int) override {}
    void sndCenterClose(int) override {}
};

} // namespace

int RunMainProgram(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString notice = SettingsStore::instance().takeDamageNotice();
    if (!notice.isEmpty())
        QMessageBox::warning(nullptr, App().productTitle, notice);

    SystemPlatformInfo platform;
    ShellWindows windows;
    ShellLibraries libraries;
    StartUpSequence startUp(platform, windows, libraries);
    QStringList args = app.arguments();
    args.removeFirst();
    if (startUp.run(QCoreApplication::applicationDirPath(), args) != StartUpResult::Running)
        return 0;
    const int code = app.exec();
    startUp.shutDown();
    return code;
}

} // namespace mvx
