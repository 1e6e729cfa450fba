#include "launcher/SpiritLauncher.h"

#include "launcher/ReviewDates.h"
#include "launcher/SuitePrograms.h"

#include "core/UserSettings.h"
#include "notedict/NoteDictLib.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace mvx::spirit {

namespace {

const QString kTitle = QStringLiteral("Morvex精灵");
const QString kArtigleTitle = QStringLiteral("Morvex英语");
const QString kAutoStartTitle = QStringLiteral("MorvexVolant英语");
const QString kSite = QStringLiteral("https://www.morvexsoft.example/");
const QString kForum = QStringLiteral("https://www.morvexsoft.example/forum/");

// A menu command that starts a program of the suite.
struct LaunchRule
{
    const char *item;
    const char *programKey;
    const char *fileName;
    const char *fileValue;  // a settings value that names the file instead, when set
    const char *argument;   // one argument or none
    const char *runningCaption;
    const char *runningMessage;
    const char *notInstalled;
};

const LaunchRule kLaunchRules[] = {
    {"btSentra", ProgramKey::Sentra, "sentra.exe", nullptr, nullptr, nullptr, nullptr, "您没有安装Sentra"},
    {"btAmbisen", ProgramKey::Sentra, "sentra.exe", nullptr, "Browse", "Ambisen", "Ambisen正在运行，您不能再启动一份", "您没有安装Sentra"},
    {"btMustrec", ProgramKey::Sentra, "sentra.exe", nullptr, "Spell", "Mustrec", "Mustrec正在运行，您不能再启动一份", "您没有安装Sentra"},
    {"btSearchSentence", ProgramKey::Sentra, "sentra.exe", nullptr, "Search", "Quoren", "Quoren正在运行着，不能再启动一次。", "您没有安装Sentra"},
    {"btDigestSentence", ProgramKey::Sentra, "sentra.exe", nullptr, "AddSentence", "Pickwell", "Pickwell正在运行着，不能再启动一次。", "您没有安装Sentra"},
    {"btVocabra", ProgramKey::Vocabra, "vocabra2004.exe", "ExeName", nullptr, nullptr, nullptr, "您没有安装Vocabra7或更高版本"},
    {"btVocabraMaster", ProgramKey::Vocabra, "Tutorly.exe", nullptr, nullptr, nullptr, nullptr, "您没有安装Vocabra8或更高版本"},
    {"btAmbivo", ProgramKey::Vocabra, "ambivo2004.exe", "AmbivoExe", nullptr, nullptr, nullptr, "您没有安装Vocabra7(或更高版本）"},
    {"btMvxDict", ProgramKey::Vocabra, "mvxdict.exe", nullptr, nullptr, nullptr, nullptr, "您没有安装《Morvex语境词典》"},
    {"btBrxSpecial", ProgramKey::BrxSpecial, "mvxbrxspecial.exe", nullptr, nullptr, nullptr, nullptr, "您没有安装《MorvexLentoria》(特别英语版）"},
    {"btBrxStandard", ProgramKey::BrxStandard, "mvxbrxstandard.exe", nullptr, nullptr, nullptr, nullptr, "您没有安装《MorvexLentoria》(标准英语版）"},
    {"btSuperecm", ProgramKey::Echomax, "echomaxpro.exe", nullptr, nullptr, nullptr, nullptr, "您没有安装MorvexEchomax（VolantEchomax）"},
};

const LaunchRule *RuleFor(const QString &item)
{
    for (const LaunchRule &rule : kLaunchRules)
        if (item == QLatin1String(rule.item))
            return &rule;
    return nullptr;
}

// The file a rule starts: the settings value when it names one, else the fixed name.
QString RuleFile(const LaunchRule &rule, const QString &folder)
{
    QString name = QString::fromUtf8(rule.fileName);
    if (rule.fileValue) {
        const QString named = ProgramValue(QString::fromLatin1(rule.programKey), QString::fromLatin1(rule.fileValue)).trimmed();
        if (!named.isEmpty())
            name = named;
    }
    return ProgramFile(folder, name);
}

struct MenuEntry
{
    const char *name;
    const char *text;
    const char *group;
    bool separatorBefore;
};

const MenuEntry kMenu[] = {
    {"btVantrel", "Morvex英语网", "", false},
    {"btSentraGroup", "Sentra", "", false},
    {"btSentra", "Sentra", "btSentraGroup", false},
    {"btAmbisen", "Ambisen", "btSentraGroup", false},
    {"btMustrec", "Mustrec", "btSentraGroup", false},
    {"btSearchSentence", "Quoren", "btSentraGroup", false},
    {"btDigestSentence", "Pickwell", "btSentraGroup", false},
    {"btVocabragroup", "Vocabra", "", false},
    {"btVocabra", "Vocabra", "btVocabragroup", false},
    {"btVocabraMaster", "Vocabra智能大师", "btVocabragroup", false},
    {"btAmbivo", "Ambivo", "btVocabragroup", false},
    {"btMvxDict", "Morvex语境词典", "btVocabragroup", false},
    {"btRemind", "今日复习任务", "btVocabragroup", true},
    {"btBrxGroup", "Lentoria", "", false},
    {"btBrxSpecial", "特别英语", "btBrxGroup", false},
    {"btBrxStandard", "标准英语", "btBrxGroup", false},
    {"btArtigle", "MorvexArtigle", "", false},
    {"btSuperecm", "MorvexEchomax", "", false},
    {"btMirada", "Morvex英语Mirada", "", false},
    {"btAutoRemind", "单词复习自动提醒", "", true},
    {"btAutoStart", "开机自动启动", "", false},
    {"btUser", "用户论坛", "", false},
    {"btCancel", "取消操作", "", true},
    {"btExit", "退出", "", false},
};

QString SpiritSetting(const char *name)
{
    return GetAppSetting(QString::fromUtf8(kSpiritKey), {}, QString::fromLatin1(name), QStringLiteral("1"));
}

void SaveSpiritSetting(const char *name, bool on)
{
    SaveAppSetting(QString::fromUtf8(kSpiritKey), {}, QString::fromLatin1(name), on ? QStringLiteral("1") : QStringLiteral("0"));
}

// The word program's learner and folders.
struct WordProgram
{
    QString folder = InstallFolder(QString::fromLatin1(ProgramKey::Vocabra));
    QString exeName = ProgramValue(QString::fromLatin1(ProgramKey::Vocabra), QStringLiteral("ExeName")).trimmed();
    QString learner = ProgramValue(QString::fromLatin1(ProgramKey::Vocabra), QStringLiteral("name")).trimmed();

    [[nodiscard]] QString learnerValue(const QString &key) const
    {
        return GetAppSetting(QString::fromLatin1(ProgramKey::Vocabra), learner + QStringLiteral(".ILE"), key, {}).trimmed();
    }
    [[nodiscard]] QString program() const
    {
        return ProgramFile(folder, exeName.isEmpty() ? QStringLiteral("vocabra2004.exe") : exeName);
    }
    [[nodiscard]] bool installed() const { return !program().isEmpty() && QFileInfo(folder).isDir(); }
};

bool SendLine(const QString &server, const QByteArray &line)
{
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(500))
        return false;
    socket.write(line + '\n');
    return socket.waitForBytesWritten(500);
}

} // namespace

SpiritLauncher::SpiritLauncher(const LauncherOptions &options, Clock &clock, Tray &tray, ProcessStarter &starter,
                               MessageBoxes &boxes)
    : m_options(options), m_clock(clock), m_tray(tray), m_starter(starter), m_boxes(boxes),
      m_autostart(options.configHome)
{
}

void SpiritLauncher::start()
{
    const bool wanted = ToInt(SpiritSetting("AutoStartSpirit"), 1) != 0;
    if (m_options.inBuildHome) {
        m_autoStart = m_autostart.exists() && !m_autostart.disabledByDesktop();
    } else if (wanted && m_autostart.exists() && m_autostart.disabledByDesktop()) {
        m_autoStart = false; // turned off in the desktop's settings: keep the learner's choice
        SaveSpiritSetting("AutoStartSpirit", false);
    } else if (wanted) {
        m_autoStart = true;
        m_autostart.write(m_options.launcherPath);
    } else {
        m_autoStart = false;
    }
    m_autoRemind = ToInt(SpiritSetting("AutoRemind"), 1) != 0;
    m_tray.showIcon();
    if (!m_options.limited)
        m_helper.vcInstallFilter(1);
    m_helper.InitZqvOrlendDll(QStringLiteral("lsMsg"), 0, 0xC000, 8482);
    refreshDueCount();
}

void SpiritLauncher::refreshDueCount()
{
    const QString file = GetAppSetting(QString::fromLatin1(ProgramKey::BrxSpecial), QStringLiteral("User"),
                                       QStringLiteral("NotebookFile"), {});
    m_dueCount = file.isEmpty() ? -1 : bcNote_DueCount(file);
}

QString SpiritLauncher::noteReviewText(int due)
{
    return due > 0 ? QStringLiteral("单词笔记本复习（%1 个到期）").arg(due) : QStringLiteral("单词笔记本复习（没有到期的单词）");
}

QString SpiritLauncher::reminderText(int due)
{
    return QStringLiteral("单词笔记本里有 %1 个单词该复习了。").arg(due);
}

QList<MenuItem> SpiritLauncher::menu() const
{
    QList<MenuItem> items;
    if (m_dueCount >= 0)
        items.append({QStringLiteral("btNoteReview"), noteReviewText(m_dueCount), {}, false, false, false});
    for (const MenuEntry &e : kMenu) {
        const QString name = QString::fromLatin1(e.name);
        if (m_sessionItemsHidden && (name == QLatin1String("btExit") || name == QLatin1String("btAutoStart")))
            continue;
        MenuItem item{name, QString::fromUtf8(e.text), QString::fromLatin1(e.group), false, false, e.separatorBefore};
        if (name == QLatin1String("btAutoStart") || name == QLatin1String("btAutoRemind")) {
            item.checkable = true;
            item.checked = name == QLatin1String("btAutoStart") ? m_autoStart : m_autoRemind;
        }
        items.append(item);
    }
    return items;
}

void SpiritLauncher::menuOpening()
{
    refreshDueCount();
}

void SpiritLauncher::inform(const QString &text)
{
    m_boxes.inform(kTitle, text);
}

void SpiritLauncher::startProgram(const QString &program, const QStringList &arguments)
{
    m_starter.start(program, arguments, QFileInfo(program).absolutePath());
}

void SpiritLauncher::activate(const QString &item)
{
    if (item == QLatin1String("btVantrel"))
        m_starter.openUrl(QUrl(kSite));
    else if (item == QLatin1String("btUser"))
        m_starter.openUrl(QUrl(kForum));
    else if (item == QLatin1String("btNoteReview"))
        noteReview();
    else if (item == QLatin1String("btRemind"))
        startReviewTasks(true);
    else if (item == QLatin1String("btArtigle"))
        launchArtigle();
    else if (item == QLatin1String("btAutoStart"))
        toggleAutoStart();
    else if (item == QLatin1String("btAutoRemind"))
        toggleAutoRemind();
    else if (item == QLatin1String("btExit"))
        runExit(true);
    else if (item == QLatin1String("btMirada")) {
        for (const auto &[key, file] : {std::pair{ProgramKey::Mirada, "mvxmirada.exe"}, std::pair{ProgramKey::Readola, "readola2003.exe"}}) {
            const QString program = ProgramFile(InstallFolder(QString::fromLatin1(key)), QString::fromLatin1(file));
            if (!program.isEmpty())
                return startProgram(program, {});
        }
        inform(QStringLiteral("您没有安装Morvex英语Mirada(或《Volant英语Mirada》)"));
    } else if (RuleFor(item))
        launch(item);
    // btCancel and the submenus only close the menu.
}

void SpiritLauncher::launch(const QString &item)
{
    const LaunchRule &rule = *RuleFor(item);
    const QString program = RuleFile(rule, InstallFolder(QString::fromLatin1(rule.programKey)));
    if (program.isEmpty())
        return inform(QString::fromUtf8(rule.notInstalled));
    if (item == QLatin1String("btAmbivo") && IsWindowOpen(QStringLiteral("Ambivo"))) {
        SendLine(ServerName(QStringLiteral("Ambivo")), "122"); // F11: it shows itself
        return;
    }
    if (rule.runningCaption && IsWindowOpen(QString::fromUtf8(rule.runningCaption)))
        return inform(QString::fromUtf8(rule.runningMessage));
    startProgram(program, rule.argument ? QStringList{QString::fromLatin1(rule.argument)} : QStringList{});
}

void SpiritLauncher::launchArtigle()
{
    bool entered = false;
    for (const char *key : {ProgramKey::Mirada, ProgramKey::Readola}) {
        const QString folder = InstallFolder(QString::fromLatin1(key));
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        entered = true;
        const QString program = ProgramFile(folder, QStringLiteral("artigle.exe"));
        if (!program.isEmpty())
            return startProgram(program, {QStringLiteral("NoIe")});
        if (key == ProgramKey::Mirada)
            break; // the reading program is there but its part is missing
    }
    m_boxes.inform(kArtigleTitle, entered ? QStringLiteral("MorvexArtigle无法运行，可能需要重新安装《Morvex英语Mirada》软件。")
                                          : QStringLiteral("MorvexArtigle无法运行，您可能还没有安装《Morvex英语Mirada》软件。"));
}

void SpiritLauncher::noteReview()
{
    if (IsWindowOpen(QStringLiteral("Lentoria")))
        return inform(QStringLiteral("Lentoria 正在运行，请在单词笔记本里复习。"));
    launch(QStringLiteral("btBrxSpecial"));
}

void SpiritLauncher::toggleAutoStart()
{
    if (m_autoStart
        && !m_boxes.askYesNo(kAutoStartTitle, QStringLiteral("Morvex精灵只有在启动状态下才会自动提醒您复习单词和强化测验单词\n"
                                                             "所以，不能开机启动会大大影响学习效果\n"
                                                             "真的不希望它开机启动吗？")))
        return;
    m_autoStart = !m_autoStart;
    if (m_autoStart)
        m_autostart.write(m_options.launcherPath);
    else
        m_autostart.remove();
    SaveSpiritSetting("AutoStartSpirit", m_autoStart);
}

void SpiritLauncher::toggleAutoRemind()
{
    m_autoRemind = !m_autoRemind;
    SaveSpiritSetting("AutoRemind", m_autoRemind);
}

void SpiritLauncher::startReviewTasks(bool shown)
{
    const WordProgram word;
    if (word.learner.isEmpty() || word.folder.isEmpty())
        return;
    const QString learnerFolder = word.learner + QStringLiteral(".ILE");
    if (!word.exeName.isEmpty()) {
        const QString program = ProgramFile(word.folder, word.exeName);
        if (program.isEmpty())
            return;
        QStringList args{QStringLiteral("selector"), learnerFolder};
        if (shown)
            args << QStringLiteral("Show");
        return startProgram(program, args);
    }
    // The older word program: its selector takes the default book and a mode.
    const QString program = ProgramFile(word.folder, QStringLiteral("vocabra2004.exe"));
    const QString book = word.learnerValue(QStringLiteral("DefaultBookChineseName"));
    if (program.isEmpty() || book.isEmpty())
        return;
    const bool unit = QFileInfo::exists(word.folder + learnerFolder + u'/' + book + QStringLiteral(".dir"));
    startProgram(program, {QStringLiteral("selector"), learnerFolder, book,
                           unit ? QStringLiteral("UnitAuto") : QStringLiteral("NormalAuto"), book + QStringLiteral(".sel")});
}

void SpiritLauncher::remindNotebook(bool daily)
{
    const QDate today = m_clock.now().date();
    if (daily) {
        if (m_reminderDay == today)
            return; // later checks of the day remind only when more words fall due
        m_reminderDay = today;
    } else if (m_dueCount <= m_lastReminderCount) {
        m_lastReminderCount = m_dueCount;
        return;
    }
    const int due = m_dueCount;
    m_lastReminderCount = due;
    if (m_autoRemind && due > 0 && m_tray.available())
        m_tray.showMessage(kTitle, reminderText(due));
}

void SpiritLauncher::reviewTick()
{
    refreshDueCount();
    const WordProgram word;
    if (m_autoRemind && word.installed()) {
        const QDate today = m_clock.now().date();
        const int serial = TodaySerial(today) + 2;
        const QString mark = word.folder + QStringLiteral("tmpfile/ReviewMark.txt");
        const int stored = ReadReviewMark(mark, today);
        // Only a stored mark starts the tasks, so they run once a day even when it fails.
        if (stored < serial && WriteReviewMark(mark, serial))
            startReviewTasks(false);
    }
    if (m_autoRemind)
        remindNotebook(true);
}

void SpiritLauncher::reminderTick()
{
    refreshDueCount();
    const WordProgram word;
    if (m_autoRemind && word.installed() && !IsWindowOpen(QStringLiteral("Lexalarm"))) {
        const QDateTime now = m_clock.now();
        const ReviewLearner learner{word.folder, word.learner, word.learnerValue(QStringLiteral("DefaultBook"))};
        if (IsReviewDue(learner, now.date(), now.time().hour())) {
            QString program = ProgramFile(word.folder, QStringLiteral("lexalarm2004.exe"));
            if (program.isEmpty())
                program = ProgramFile(word.folder, QStringLiteral("lexalarm8"));
            if (!program.isEmpty())
                startProgram(program, {QStringLiteral("AutoTest")});
        }
    }
    if (m_autoRemind)
        remindNotebook(false);
}

bool SpiritLauncher::runExit(bool showRefusal)
{
    if (IsSuiteProgramRunning()) {
        if (showRefusal)
            inform(QStringLiteral("还有Morvex英语的软件正在运行，此时不能关闭Morvex精灵。\r\n"
                                  "请退出所有Morvex英语软件后再关闭“Morvex精灵”"));
        return false;
    }
    if (m_exitFoundStarting) {
        m_tray.hideIcon();
        m_tray.quit();
        return true;
    }
    m_exiting = true;
    m_tray.hideIcon();
    m_helper.vcToEndThread();
    m_tray.setQuitTimer(true);
    quitTick();
    return true;
}

void SpiritLauncher::quitTick()
{
    if (!m_exiting)
        return;
    int a = 0, busy = 0, c = 0;
    m_helper.vcGetPara(a, busy, c);
    if (busy != 0)
        return; // its thread still runs: the next tick looks again
    if (!m_options.limited)
        m_helper.vcInstallFilter(0);
    m_exiting = false;
    m_tray.setQuitTimer(false);
    if (IsSuiteProgramRunning()) {
        // A program of the suite started meanwhile: stay, visible, and let the next exit close.
        m_exitFoundStarting = true;
        m_tray.showIcon();
        return;
    }
    m_tray.quit();
}

void SpiritLauncher::closeForTakeOver()
{
    m_tray.hideIcon();
    m_helper.vcToEndThread();
    if (!m_options.limited)
        m_helper.vcInstallFilter(0);
    m_tray.quit();
}

QByteArray SpiritLauncher::answer(const QByteArray &line)
{
    const QList<QByteArray> parts = line.trimmed().split(' ');
    const QByteArray command = parts.value(0);
    if (command == "3369" && parts.size() == 1)
        return QByteArray::number(kLauncherVersion);
    if (command == "4346" && parts.size() == 3) {
        bool okX = false, okY = false;
        const int x = parts[1].toInt(&okX), y = parts[2].toInt(&okY);
        if (!okX || !okY)
            return {};
        m_sessionItemsHidden = true;
        m_tray.popMenu(QPoint(x, y));
        return "ok";
    }
    if (command == "122" && parts.size() == 1) {
        m_tray.showIcon();
        return "ok";
    }
    if (command == "close" && parts.size() == 1) {
        closeForTakeOver();
        return "closing";
    }
    if (command == "exit" && parts.size() == 1)
        return runExit(false) ? "closing" : "refused";
    return {};
}

} // namespace mvx::spirit
