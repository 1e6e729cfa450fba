#include "player/form/PlayLessonForm.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "core/WaitMark.h"
#include "core/WorkingFiles.h"
#include "libs/comm/CommLib.h"
#include "libs/notedict/ui/DrillWindows.h"
#include "libs/notedict/ui/NoteDictWindows.h"
#include "player/form/AddCommentForm.h"
#include "player/form/ButtonFaces.h"
#include "player/form/PlayerExcerpts.h"
#include "player/form/PlayerStudyLog.h"
#include "player/form/ReciteModeForm.h"
#include "dialogs/DisplaySettingForm.h"
#include "dialogs/TipsDialog.h"
#include "player/form/WaveView.h"
#include "player/form/WordSummaryModeForm.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"
#include "ui/SkinPictures.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QToolButton>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#ifdef MVX_HAVE_PAGES
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/pages/LessonWebPage.h"
#include "player/events/PlayerTextSide.h"
#endif

namespace mvx {

namespace {

// Design geometry (twips).
constexpr int kDesignWidth = 12600;
constexpr int kDesignHeight = 9300;
constexpr int kButtonSize = 360;
constexpr int kRowLeft = 780;
constexpr int kRowTop = 540;
constexpr int kRowStep = 400;
constexpr int kWaveLeft = 780;
constexpr int kWaveTop = 1050;   // ruler band included
constexpr int kWaveHeight = 1500;
constexpr int kScrollHeight = 255;
constexpr int kScriptLeft = 780;
constexpr int kScriptTop = 2940;

const QStringList kMainRow = {"btPlay",        "btRepeatSentence", "btAutoRepeat", "btPlaySentence", "btABRepeatA",
                              "btABRepeatB",   "btPause",          "btStop",       "btPrev",         "btNext",
                              "btMarkSentence", "btDigest",        "btPrint",      "btSearch",       "btMp3"};
const QStringList kLeftColumn = {"btSpell", "btSpeak", "btThink", "btWordSummary", "btNotebook", "btSetting", "btBrowse"};
const QStringList kWindowButtons = {"btWinHelp", "btWinMin", "btWinMax", "btWinNormal", "btWinClose"};

const QHash<QString, QString> &ToolTips()
{
    static const QHash<QString, QString> tips = {
        {"btPlay", "播放(快捷键：G)"},
        {"btRepeatSentence", "复读当前句(快捷键：R\n)"},
        {"btAutoRepeat", "逐句复读播放"},
        {"btPlaySentence", "播放当前句(快捷键：F 或回车)"},
        {"btABRepeatA", "设置复读起点(快捷键：A)"},
        {"btABRepeatB", "设置复读终点(快捷键：B)"},
        {"btPause", "暂停(快捷键：D\n)"},
        {"btStop", "停止(快捷键：S\n)"},
        {"btPrev", "上一句(快捷键：H)"},
        {"btNext", "下一句(快捷键：J)"},
        {"btMarkSentence", "标记/取消标记当前句子(快捷键：M)"},
        {"btDigest", "摘录当前句子(快捷键：F9)"},
        {"btPrint", "打印"},
        {"btSearch", "查找文字"},
        {"btMp3", "MP3+LRC"},
        // The left column and the window buttons are pictures too.
        {"btSpell", "拼写练习(快捷键：Alt+S)"},
        {"btSpeak", "口语练习(快捷键：W 或 Alt+A)"},
        {"btThink", "回想与背诵"},
        {"btStopThinking", "结束回想"},
        {"btWordSummary", "单词总结"},
        {"btNotebook", "生词本"},
        {"btSetting", "显示设置"},
        {"btBrowse", "句子浏览"},
        {"btWinHelp", "使用提示"},
        {"btWinMin", "最小化"},
        {"btWinMax", "最大化"},
        {"btWinNormal", "还原"},
        {"btWinClose", "关闭"}};
    return tips;
}

// The names the learner knows the later features by.
const QHash<QString, QString> &FeatureNames()
{
    static const QHash<QString, QString> names = {
        {"btNotebook", "生词本"},
        {"btMarkSentence", "标记句子"},   {"HilightCurCSentence", "突出显示当前译文"},
        {"ShowAllMarkedSentences", "显示标记句子"},
        {"ShowCurESentence", "显示当前句英文"}, {"ShowCurCSentence", "显示当前句译文"},
        {"ToggleAutoShowEnglish", "自动显示当前句英文"}, {"ToggleAutoShowChinese", "自动显示当前句译文"}};
    return names;
}

#ifndef MVX_HAVE_PAGES
// Without the lesson pages nothing can be loaded: the player says so and stays empty.
class NoPages final : public PageSide
{
public:
    int LoadLessonPages(const QString &, int, bool, LessonPagesResult &) override { return -1; }
    void ApplyDisplayOptions() override {}
    void CloseLessonPages() override {}
    [[nodiscard]] PageShowState ShowState() const override { return {}; }
    [[nodiscard]] bool HasSentenceElement(SentenceText, int) const override { return false; }
    [[nodiscard]] int ElementDisplayingStatus(SentenceText, int) override { return 0; }
    void ShowCurSentence(SentenceText, int, bool) override {}
    void ScrollSentence(SentenceText, int, bool) override {}
    void RefreshCurrentSentencePages(int) override {}
};
#endif

QString HomeFolder()
{
    return App().appPath.isEmpty() ? QDir::currentPath() : App().appPath;
}

// A label of fixed size: a new text repaints the label alone and never asks the window
// for a new layout (the time label changes ten times a second while playing).
void PlaceFixed(QLabel *label, const QRect &geometry)
{
    label->setFixedSize(geometry.size());
    label->move(geometry.topLeft());
}

QLabel *MakeLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

PlayLessonForm::PlayLessonForm(QWidget *parent) : SkinnedWindow(QStringLiteral("PlayLessonForm"), false, parent)
{
    setWindowFlag(Qt::Window);
    SetDesignSize(kDesignWidth, kDesignHeight);
    const QString home = HomeFolder();
#ifdef MVX_HAVE_PAGES
    auto *view = new pages::HtmlView(this);
    view->setAllowedFolders({home});
    m_wbScript = view;
    m_pages = std::make_unique<pages::LessonPages>(*view, home);
    m_displayPreview = static_cast<pages::LessonPages *>(m_pages.get());
#else
    m_wbScript = new QWidget(this);
    m_pages = std::make_unique<NoPages>();
#endif
    m_wbScript->setObjectName(QStringLiteral("wbScript"));
    m_controller = std::make_unique<PlaybackController>(m_media, *m_pages, m_sounds, m_clock, home);
#ifdef MVX_HAVE_PAGES
    {
        auto *lessonPages = static_cast<pages::LessonPages *>(m_pages.get());
        m_textSide = std::make_unique<PlayerTextSide>(*m_controller, *lessonPages, *view, this, view, *this, *this,
                                                      [this] { return m_controller->BookFile(); });
        lessonPages->SetEventDestination(&m_textSide->Dispatcher(), m_controller.get());
        connect(view->lessonPage(), &pages::LessonWebPage::commentEditRequested, this, &PlayLessonForm::EditCurComment);
    }
#endif
    m_studyLog = std::make_unique<PlayerStudyLog>(*m_controller, *m_pages);
    m_excerptActions = std::make_unique<PlayerExcerpts>(*m_controller, this, home);
#ifdef MVX_HAVE_PAGES
    m_textSide->Events().SetLookupListener([this](int noInAll) { m_studyLog->CountLookup(noInAll); });
#endif
    connect(m_studyLog.get(), &PlayerStudyLog::message, this, [](const QString &text) { ShowMessageBox(text, 1); });
    connect(m_studyLog.get(), &PlayerStudyLog::openSentence, this, &PlayLessonForm::OpenSentence);
    BuildControls();
    FilterKeysOf(m_wbScript);
    connect(m_controller.get(), &PlaybackController::viewChanged, this, &PlayLessonForm::RefreshView);
    connect(m_controller.get(), &PlaybackController::waveChanged, this, &PlayLessonForm::RefreshScrollBar);
    connect(m_controller.get(), &PlaybackController::beep, this, [] { QApplication::beep(); });
    connect(m_controller.get(), &PlaybackController::message, this, [](const QString &text) { ShowMessageBox(text, 1); });
    connect(m_controller.get(), &PlaybackController::featureRequested, this, &PlayLessonForm::OnFeature);
    m_heldClose.setInterval(20);
    connect(&m_heldClose, &QTimer::timeout, this, &PlayLessonForm::CarryOutHeldClose);
    m_timerHint.setInterval(500);
    connect(&m_timerHint, &QTimer::timeout, this, &PlayLessonForm::TimerHint_Timer);
    m_settingsReload.setInterval(500);
    m_settingsReload.setSingleShot(true);
    connect(&m_settingsReload, &QTimer::timeout, this, &PlayLessonForm::ReloadAfterSettings);
}

PlayLessonForm::~PlayLessonForm()
{
    m_excerptActions.reset();
    m_studyLog.reset();
    m_textSide.reset();
    m_controller.reset(); // before the pages and the media it uses
}

void PlayLessonForm::BuildControls()
{
    for (int i = 0; i < kMainRow.size(); ++i)
        AddButton(kMainRow[i], kRowLeft + i * kRowStep, kRowTop, kButtonSize, kButtonSize);
    for (int i = 0; i < kLeftColumn.size(); ++i)
        AddButton(kLeftColumn[i], 180, kScriptTop + i * 480, kButtonSize, kButtonSize);
    AddButton(QStringLiteral("btStopThinking"), 180, kScriptTop + 2 * 480, kButtonSize, kButtonSize);
    for (const QString &tag : kWindowButtons)
        AddButton(tag, kDesignWidth - 510, 60, 300, 300);
    for (SkinImage *b : findChildren<SkinImage *>(QStringLiteral("btFunction"))) {
        b->setToolTip(ToolTips().value(b->tag()));
        b->setPicture(ButtonFaces::Face(b->tag(), b->size(), true, devicePixelRatioF()));
    }

    m_wave = new WaveView(*m_controller, this);
    m_wave->setGeometry(TwipsRect(kWaveLeft, kWaveTop, kDesignWidth - 495 - kWaveLeft, kWaveHeight));
    m_hsWave = new QScrollBar(Qt::Horizontal, this);
    m_hsWave->setObjectName(QStringLiteral("hsWave"));
    m_hsWave->hide();
    connect(m_hsWave, &QScrollBar::valueChanged, this, [this](int value) {
        if (m_scrollSync)
            return; // moved by the program
        if (m_hsWave->isSliderDown())
            m_controller->hsWave_Scroll(value);
        else
            m_controller->hsWave_Change(value);
    });
    connect(m_hsWave, &QScrollBar::sliderReleased, this, [this] { m_controller->hsWave_Change(m_hsWave->value()); });

    m_wbScript->setGeometry(TwipsRect(kScriptLeft, kScriptTop, 9000, 5000));
    for (int i = 0; i < 3; ++i)
        m_lbInfo[i] = MakeLabel(this, QStringLiteral("lbInfo%1").arg(i));
    m_lbCurSentenceNo = MakeLabel(this, QStringLiteral("lbCurSentenceNo"));
    m_lbRepeatStatus = MakeLabel(this, QStringLiteral("lbRepeatStatus"));
    m_lbRepeatStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lbRepeatStatus->setStyleSheet(QStringLiteral("background: rgba(255, 255, 255, 210); padding: 0 3px;"));
    m_lbReadHint = MakeLabel(this, QStringLiteral("lbReadHint"));
    m_lbReadHint->setText(QStringLiteral("请跟读......"));
    m_lbReadHint->setStyleSheet(QStringLiteral("color:#C00000; font-weight:bold; background:transparent;"));
    m_lbReadHint->hide();
    m_lbHotkey = MakeLabel(this, QStringLiteral("lbHotkey"));
    m_lbHotkey->setText(QStringLiteral("<a href=\"#\">快捷键列表</a>"));
    connect(m_lbHotkey, &QLabel::linkActivated, this, [this] { lbHotkey_Click(); });
    m_cbSpeed = new QComboBox(this);
    m_cbSpeed->setObjectName(QStringLiteral("cbSpeed"));
    m_cbSpeed->setFocusPolicy(Qt::NoFocus);
    connect(m_cbSpeed, &QComboBox::activated, this, [this](int entry) { m_controller->cbSpeed_Click(entry); });
    BuildShowMenu();
    BuildTimingMenu();
    m_btHardOnly = new QToolButton(this);
    m_btHardOnly->setObjectName(QStringLiteral("btHardOnly"));
    m_btHardOnly->setText(QStringLiteral("只听难句"));
    m_btHardOnly->setToolTip(QStringLiteral("上一句、下一句和自动复读只走这一课最难的几句（页边有标记）"));
    m_btHardOnly->setCheckable(true);
    m_btHardOnly->setFocusPolicy(Qt::NoFocus);
    connect(m_btHardOnly, &QToolButton::clicked, this,
            [this](bool on) { m_btHardOnly->setChecked(m_studyLog->SetHardOnly(on)); });
    m_btRecord = new QToolButton(this);
    m_btRecord->setObjectName(QStringLiteral("btStudyRecord"));
    m_btRecord->setText(QStringLiteral("学习记录"));
    m_btRecord->setToolTip(QStringLiteral("每天学了多久、哪些句子最难"));
    m_btRecord->setFocusPolicy(Qt::NoFocus);
    connect(m_btRecord, &QToolButton::clicked, this, [this] { m_studyLog->ShowRecord(this); });
}

void PlayLessonForm::OpenSentence(const QString &bookFile, int lessonNo, int noInLesson)
{
    const bool same = m_controller->PlayStatus() != NoLesson && m_controller->LessonNo() == lessonNo
                      && ListeningHistory::BookKey(m_controller->BookFile()) == ListeningHistory::BookKey(bookFile);
    if (!same)
        OpenLesson(bookFile, lessonNo, true);
    m_controller->GoToSentence(noInLesson);
    raise();
    activateWindow();
}

// The current sentence's timing nudges, with their keys shown beside each entry.
void PlayLessonForm::BuildTimingMenu()
{
    m_btTiming = new QToolButton(this);
    m_btTiming->setObjectName(QStringLiteral("btTimingMenu"));
    m_btTiming->setText(QStringLiteral("句子时间"));
    m_btTiming->setToolTip(QStringLiteral("把当前句的开始或结束提前、推后（也可在波形上按住 Shift 拖动）"));
    m_btTiming->setFocusPolicy(Qt::NoFocus);
    m_btTiming->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_btTiming);
    const auto add = [this, menu](const char *name, const QString &text, const QString &keys,
                                  const std::function<void()> &run) {
        QAction *a = menu->addAction(text + QLatin1Char('\t') + keys);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, run);
    };
    PlaybackController &c = *m_controller;
    const int step = PlaybackController::NudgeStepMs;
    add("acStartEarlier", QStringLiteral("开始提前 %1 毫秒").arg(step), QStringLiteral("["),
        [&c, step] { c.NudgeCurrentSentence(false, -step); });
    add("acStartLater", QStringLiteral("开始推后 %1 毫秒").arg(step), QStringLiteral("]"),
        [&c, step] { c.NudgeCurrentSentence(false, step); });
    add("acEndEarlier", QStringLiteral("结束提前 %1 毫秒").arg(step), QStringLiteral("Shift+["),
        [&c, step] { c.NudgeCurrentSentence(true, -step); });
    add("acEndLater", QStringLiteral("结束推后 %1 毫秒").arg(step), QStringLiteral("Shift+]"),
        [&c, step] { c.NudgeCurrentSentence(true, step); });
    menu->addSeparator();
    add("acRestoreTimes", QStringLiteral("恢复原始时间"), QStringLiteral("\\"), [&c] { c.RestoreCurrentSentenceTimes(); });
    add("acUndoNudge", QStringLiteral("撤销时间调整"), QStringLiteral("Ctrl+Z"), [&c] { c.UndoNudge(); });
    m_btTiming->setMenu(menu);
}

// The English, Chinese and comment switches and the side-by-side / mixed layout, in one
// small menu beside the speed box.
void PlayLessonForm::BuildShowMenu()
{
    m_btShow = new QToolButton(this);
    m_btShow->setObjectName(QStringLiteral("btShowMenu"));
    m_btShow->setText(QStringLiteral("显示"));
    m_btShow->setToolTip(QStringLiteral("显示英文、中文、注释，中英分排或混排"));
    m_btShow->setFocusPolicy(Qt::NoFocus);
    m_btShow->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_btShow);
    const auto addCheck = [menu](const QString &name, const QString &text) {
        QAction *a = menu->addAction(text);
        a->setObjectName(name);
        a->setCheckable(true);
        return a;
    };
    QAction *english = addCheck(QStringLiteral("ckShowEnglish"), QStringLiteral("显示英文"));
    QAction *chinese = addCheck(QStringLiteral("ckShowChinese"), QStringLiteral("显示中文"));
    QAction *comment = addCheck(QStringLiteral("ckShowComment"), QStringLiteral("显示注释"));
    menu->addSeparator();
    auto *layout = new QActionGroup(menu);
    QAction *separate = addCheck(QStringLiteral("rbSeperate"), QStringLiteral("中英分排"));
    QAction *mixed = addCheck(QStringLiteral("rbMix"), QStringLiteral("中英混排"));
    layout->addAction(separate);
    layout->addAction(mixed);
    m_btShow->setMenu(menu);
#ifdef MVX_HAVE_PAGES
    const auto textSwitch = [this](QAction *action, SentenceText text) {
        connect(action, &QAction::triggered, this, [this, text](bool on) {
            if (m_textSide)
                m_textSide->Marks().SetTextShown(text, on);
            SyncShowMenu();
        });
    };
    textSwitch(english, SentenceText::English);
    textSwitch(chinese, SentenceText::Chinese);
    textSwitch(comment, SentenceText::Comment);
    connect(separate, &QAction::triggered, this, [this] {
        if (m_textSide)
            m_textSide->Marks().SetMixedLayout(false);
        SyncShowMenu();
    });
    connect(mixed, &QAction::triggered, this, [this] {
        if (m_textSide)
            m_textSide->Marks().SetMixedLayout(true);
        SyncShowMenu();
    });
#endif
    connect(menu, &QMenu::aboutToShow, this, &PlayLessonForm::SyncShowMenu);
}

// The menu always shows what the pages really show (a refused switch springs back).
void PlayLessonForm::SyncShowMenu()
{
    const PageShowState show = m_pages->ShowState();
    QMenu *menu = m_btShow->menu();
    menu->findChild<QAction *>(QStringLiteral("ckShowEnglish"))->setChecked(show.englishShown);
    menu->findChild<QAction *>(QStringLiteral("ckShowChinese"))->setChecked(show.chineseShown);
    menu->findChild<QAction *>(QStringLiteral("ckShowComment"))->setChecked(show.commentShown);
    menu->findChild<QAction *>(QStringLiteral("rbSeperate"))->setChecked(!show.mixedLayout);
    menu->findChild<QAction *>(QStringLiteral("rbMix"))->setChecked(show.mixedLayout);
}

// ---- Load and unload ----------------------------------------------------------------------

void PlayLessonForm::Form_Load()
{
    m_formLoaded = false;
    if (CInterface *skin = Skin())
        skin->OverlapButton(QStringLiteral("btThink"), QStringLiteral("btStopThinking"));
    m_media.setUiMode(QStringLiteral("invisible"));
    m_cbSpeed->setVisible(!App().isVistaOrLater);
    m_cbSpeed->clear();
    m_cbSpeed->addItems(PlaybackController::SpeedEntries());

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_controller->InitForWindow(); // StopMode 1, speed, zoom, status 0
    QGuiApplication::restoreOverrideCursor();
    m_cbSpeed->setCurrentIndex(m_controller->SpeedEntry());

    PageShowState show;
    show.englishShown = GetUserBool(QString::fromLatin1(Key::ShouldShowEnglish), true);
    show.chineseShown = GetUserBool(QString::fromLatin1(Key::ShouldShowChinese), true);
    show.commentShown = GetUserBool(QString::fromLatin1(Key::ShouldShowComment), true);
    show.mixedLayout = GetUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
#ifdef MVX_HAVE_PAGES
    static_cast<pages::LessonPages *>(m_pages.get())->SetShowState(show);
#endif
    SyncShowMenu();
    m_studyLog->Start();
    setWindowTitle(App().mainCaption);
    ResizeForm();
    RefreshView();
    m_formLoaded = true;
    if (GetUserBool(QString::fromLatin1(Key::AutoMaximize), false))
        showMaximized();
}

void PlayLessonForm::Form_Unload()
{
    m_timerHint.stop();
#ifdef MVX_HAVE_PAGES
    if (m_textSide) {
        m_textSide->Think().btStopThinking_Click(); // the recall ends with the window
        m_textSide->Notebook().Close(this);          // its close report stores the position
    }
#endif
    const PageShowState show = m_pages->ShowState();
    SaveUserBool(QString::fromLatin1(Key::ShouldShowEnglish), show.englishShown);
    SaveUserBool(QString::fromLatin1(Key::ShouldShowChinese), show.chineseShown);
    SaveUserBool(QString::fromLatin1(Key::ShouldShowComment), show.commentShown);
    SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), show.mixedLayout);
    m_controller->CloseForWindow(); // stops, closes the lesson, then stores the zoom
    m_studyLog->Stop(); // writes the last counts
    SaveUserBool(QString::fromLatin1(Key::AutoMaximize), isMaximized());
    m_formLoaded = false;
    emit closed();
}

void PlayLessonForm::OpenLesson(const QString &szBookFileName, int nLessonNo, bool bRegenerateHtml)
{
    Load();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_controller->OpenLesson(szBookFileName, nLessonNo, bRegenerateHtml);
    QGuiApplication::restoreOverrideCursor();
    m_studyLog->LessonOpened();
    m_btHardOnly->setChecked(m_studyLog->HardOnly());
    RefreshView();
}

void PlayLessonForm::StartTimerHint()
{
    m_timerHint.start();
}

void PlayLessonForm::TimerHint_Timer()
{
    m_timerHint.stop();
    if (!TipsMayOpen()) {
        m_timerHint.start(); // a wait or another window is up: ask again shortly
        return;
    }
    if (ToInt(GetAppSetting(App().appName, QStringLiteral("User"), QString::fromLatin1(Key::PlayLesson),
                            QStringLiteral("1")),
              1)
        == 0)
        return;
    ShowUsageTips();
}

bool PlayLessonForm::TipsMayOpen() const
{
    const QWidget *modal = QApplication::activeModalWidget();
    return !WaitRunning() && !WaitMark::Running() && (modal == nullptr || modal == this) && isVisible();
}

void PlayLessonForm::ShowUsageTips()
{
    InitTipsDialog(QStringLiteral("tip_PlayLesson.txt"), App().appName, QStringLiteral("User"),
                   QString::fromLatin1(Key::PlayLesson), QStringLiteral("mvxbrxspecial.chm::htmlsrc/mvxbrx_usage.htm"),
                   QStringLiteral("进入全面学习界面时显示"), true);
    ShowTipsDialog(true, this);
}

// ---- Layout -------------------------------------------------------------------------------

void PlayLessonForm::resizeEvent(QResizeEvent *event)
{
    SkinnedWindow::resizeEvent(event);
    if (!m_formLoaded || isMinimized())
        return;
    ResizeForm();
}

void PlayLessonForm::changeEvent(QEvent *event)
{
    SkinnedWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_formLoaded && !isMinimized())
        ResizeForm();
}

void PlayLessonForm::ResizeForm()
{
    const int w = PixelsToTwips(width());
    const int h = PixelsToTwips(height());
    m_wbScript->setGeometry(TwipsRect(kScriptLeft, kScriptTop, w - 180 - kScriptLeft, h - 600 - kScriptTop));
    PlaceRowTools();
    const int infoTop = TwipsToPixels(h - 405);
    const int infoLefts[] = {kScriptLeft, kScriptLeft + 2400, kScriptLeft + 3000};
    for (int i = 0; i < 3; ++i)
        PlaceFixed(m_lbInfo[i], QRect(TwipsToPixels(infoLefts[i]), infoTop, TwipsToPixels(i == 2 ? 4500 : 2300), 20));
    PlaceFixed(m_lbCurSentenceNo, QRect(TwipsToPixels(w - 4200), infoTop, TwipsToPixels(3800), 20));
    const int pictureWidth = w - 495 - kWaveLeft;
    m_wave->setGeometry(TwipsRect(kWaveLeft, kWaveTop, pictureWidth, kWaveHeight));
    m_hsWave->setGeometry(TwipsToPixels(kWaveLeft), m_wave->geometry().bottom() + 2,
                          std::max(20, TwipsToPixels(pictureWidth - 480)), TwipsToPixels(kScrollHeight));
    PlaceRepeatStatus();
    m_lbReadHint->adjustSize();
    m_lbReadHint->move(m_wave->x() + 8, m_wave->y() + WaveView::RulerHeight + 4);
    PlaceWindowButtons();
    update();
}

// The tools right of the button row (record, hard sentences, timing, show menu, speed, key
// list). Those that do not fit beside the row in a narrow window move up into the title band,
// left of the window buttons, so that no button is covered.
void PlayLessonForm::PlaceRowTools()
{
    QWidget *const tools[] = {m_lbHotkey, m_cbSpeed, m_btShow, m_btTiming, m_btHardOnly, m_btRecord};
    const int rowRight = TwipsToPixels(kRowLeft + int(kMainRow.size() - 1) * kRowStep + kButtonSize);
    int right = width() - TwipsToPixels(405);
    int top = TwipsToPixels(kRowTop);
    bool inTitleBand = false;
    for (QWidget *tool : tools) {
        tool->adjustSize();
        if (!inTitleBand && right - tool->width() < rowRight + 8) {
            inTitleBand = true;
            right = TwipsToPixels(PixelsToTwips(width()) - 1470) - 8;
            top = TwipsToPixels(60);
        }
        tool->move(right - tool->width(), tool == m_lbHotkey ? top + TwipsToPixels(60) : top);
        right = tool->x() - 8;
    }
}

// The repeat text sits in the waveform's top right corner below the ruler, as wide as
// its text, wrapped when the picture is narrower; it changes only when a repeat starts.
void PlayLessonForm::PlaceRepeatStatus()
{
    const QRect picture = m_wave->geometry();
    const int room = std::max(40, picture.width() - 8);
    const QString text = m_lbRepeatStatus->text();
    m_lbRepeatStatus->setWordWrap(false);
    const QSize line = m_lbRepeatStatus->sizeHint();
    const int width = std::min(line.width(), room);
    m_lbRepeatStatus->setWordWrap(line.width() > room);
    const int height = line.width() > room ? m_lbRepeatStatus->heightForWidth(width) : line.height();
    PlaceFixed(m_lbRepeatStatus, QRect(picture.right() - 3 - width, picture.y() + WaveView::RulerHeight + 2, width, height));
    m_lbRepeatStatus->setVisible(!text.isEmpty());
    m_lbRepeatStatus->raise();
}

void PlayLessonForm::PlaceWindowButtons()
{
    CInterface *skin = Skin();
    const int w = PixelsToTwips(width());
    const struct {
        const char *tag;
        int fromRight;
    } places[] = {{"btWinHelp", 1470}, {"btWinMin", 1155}, {"btWinMax", 810}, {"btWinNormal", 810}, {"btWinClose", 510}};
    for (const auto &p : places) {
        SkinImage *b = skin ? skin->GetButton(QLatin1String(p.tag)) : nullptr;
        if (!b)
            continue;
        b->move(TwipsToPixels(w - p.fromRight), TwipsToPixels(60));
        skin->RecountPos(QLatin1String(p.tag));
    }
    if (skin) {
        const bool maximised = isMaximized();
        if (maximised) {
            skin->ShowButton(QStringLiteral("btWinNormal"));
            skin->HideButton(QStringLiteral("btWinMax"));
        } else {
            skin->ShowButton(QStringLiteral("btWinMax"));
            skin->HideButton(QStringLiteral("btWinNormal"));
        }
    }
}

void PlayLessonForm::paintEvent(QPaintEvent *event)
{
    SkinnedWindow::paintEvent(event);
    // Border pictures of the skin, tiled along each edge however large the window grows.
    // They are looked up once per skin and scale: the labels repaint the window behind them
    // ten times a second while playing.
    const QString key = App().skinRoot + QLatin1Char('|') + QString::number(devicePixelRatioF());
    if (key != m_borderTilesKey) {
        m_borderTilesKey = key;
        const QString dir = skin::WindowFolder(App().skinRoot, FormName());
        const QString common = skin::CommonFolder(App().skinRoot);
        const char *const names[] = {"ImgTop", "ImgDown", "ImgLeft", "ImgRight"};
        for (int i = 0; i < 4; ++i)
            m_borderTiles[i] = skin::LoadPicture(skin::FindPicture(dir, common, QLatin1String(names[i])), devicePixelRatioF());
    }
    QPainter p(this);
    for (int i = 0; i < 4; ++i) {
        const QPixmap &tile = m_borderTiles[i];
        if (tile.isNull())
            continue;
        const bool horizontal = i < 2;
        const bool farEdge = i % 2 == 1;
        const QSizeF ts = tile.deviceIndependentSize();
        const QRectF band = horizontal ? QRectF(0, farEdge ? height() - ts.height() : 0, width(), ts.height())
                                       : QRectF(farEdge ? width() - ts.width() : 0, 0, ts.width(), height());
        if (band.intersects(event->rect()))
            p.drawTiledPixmap(band, tile);
    }
}

// ---- View -----------------------------------------------------------------------------------

void PlayLessonForm::RefreshButtonFace(const QString &tag, bool enabled)
{
    CInterface *skin = Skin();
    SkinImage *b = skin ? skin->GetButton(tag) : nullptr;
    if (!b)
        return;
    skin->EnableButton(tag, enabled);
    if (b->picturePath().isEmpty())
        b->setPicture(ButtonFaces::Face(tag, b->size(), enabled, devicePixelRatioF()));
}

void PlayLessonForm::RefreshView()
{
    const PlaybackController &c = *m_controller;
    if (c.Buttons().Revision() != m_shownButtons) {
        m_shownButtons = c.Buttons().Revision();
        for (const QString &tag : ButtonPanel::PlayerButtons())
            RefreshButtonFace(tag, c.MyIsButtonEnabled(tag));
    }
    const QString texts[] = {c.TimeText(), QString(), c.StatusText()};
    for (int i = 0; i < 3; ++i)
        if (m_lbInfo[i]->text() != texts[i])
            m_lbInfo[i]->setText(texts[i]);
    if (m_lbCurSentenceNo->text() != c.LessonInfoText())
        m_lbCurSentenceNo->setText(c.LessonInfoText());
    if (m_lbRepeatStatus->text() != c.RepeatStatusText()) {
        m_lbRepeatStatus->setText(c.RepeatStatusText());
        PlaceRepeatStatus();
    }
    if (c.ReadHintVisible() == m_lbReadHint->isHidden()) { // only on a change: the view refreshes ten times a second
        m_lbReadHint->setVisible(c.ReadHintVisible());
        m_lbReadHint->raise();
    }
    m_wave->setVisible(c.WavePictureVisible());
    RefreshScrollBar();
}

void PlayLessonForm::RefreshScrollBar()
{
    const WaveWindow &w = m_controller->Wave();
    m_scrollSync = true;
    m_hsWave->setMaximum(w.ScrollMaximum());
    if (!m_hsWave->isSliderDown())
        m_hsWave->setValue(w.ScrollValue());
    m_hsWave->setPageStep(std::max(1, w.WindowWidth() / 1000));
    m_hsWave->setEnabled(w.ScrollEnabled());
    m_hsWave->setVisible(w.ScrollVisible() && m_controller->WavePictureVisible());
    m_scrollSync = false;
}

QPixmap PlayLessonForm::Snapshot()
{
    return grab();
}

// ---- Keys -----------------------------------------------------------------------------------

void PlayLessonForm::FilterKeysOf(QObject *object)
{
    object->installEventFilter(this);
    for (QObject *child : object->children())
        if (child->isWidgetType())
            FilterKeysOf(child);
}

bool PlayLessonForm::eventFilter(QObject *watched, QEvent *event)
{
    // The page view hands keys to its focus proxy, a child made by the engine: every child
    // is watched as it arrives, so the player's keys work while a page has the focus.
    if (event->type() == QEvent::ChildAdded) {
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            FilterKeysOf(child);
    } else if (event->type() == QEvent::KeyPress && m_formLoaded) {
        if (Form_KeyDown(static_cast<QKeyEvent *>(event)))
            return true;
    }
    return SkinnedWindow::eventFilter(watched, event);
}

bool PlayLessonForm::Form_KeyDown(QKeyEvent *event)
{
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    if (!alt && m_controller->HandleTimingKey(event->key(), event->modifiers()))
        return true;
    m_controller->HandleKey(event->key(), alt);
    return PlaybackController::ConsumesKey(event->key(), alt);
}

// ---- Closing --------------------------------------------------------------------------------

bool PlayLessonForm::WaitRunning() const
{
#ifdef MVX_HAVE_PAGES
    if (static_cast<pages::HtmlView *>(m_wbScript)->isWaiting())
        return true;
#endif
    return m_controller->IsBusy();
}

void PlayLessonForm::done(int result)
{
    if (WaitRunning()) {
        m_heldCloseResult = result;
        m_heldClose.start();
        return;
    }
    m_heldClose.stop();
    SkinnedWindow::done(result);
}

void PlayLessonForm::CarryOutHeldClose()
{
    if (WaitRunning())
        return; // this check runs inside the wait: try again after it
    m_heldClose.stop();
    done(m_heldCloseResult);
}

// ---- Buttons --------------------------------------------------------------------------------

void PlayLessonForm::Click(const QString &tag)
{
    m_controller->ClickButton(tag);
}

void PlayLessonForm::OnFeature(const QString &name)
{
    if (name == QLatin1String("btDigest")) {
        m_excerptActions->RunDigestDialog();
        return;
    }
    if (name == QLatin1String("btMp3")) {
        m_excerptActions->RunExportDialog();
        return;
    }
    if (name == QLatin1String("btSpell") || name == QLatin1String("btSpeak") || name == QLatin1String("rbShuffle")) {
        RunDrill(name);
        return;
    }
    if (name == QLatin1String("btBrowse")) {
        RunBrowse();
        return;
    }
    if (name == QLatin1String("btSetting")) {
        ShowDisplaySettings();
        return;
    }
    if (name == QLatin1String("btThink")) {
        ReciteModeForm dialog(this);
        dialog.SetCallingForm(this);
        dialog.exec();
        return;
    }
    if (name == QLatin1String("btWordSummary")) {
        WordSummaryModeForm dialog(this);
        dialog.SetCallingForm(this);
        dialog.exec();
        return;
    }
#ifdef MVX_HAVE_PAGES
    if (m_textSide && name == QLatin1String("btNotebook")) {
        const QString message = m_textSide->Notebook().Open(this);
        if (!message.isEmpty())
            ShowMessageBox(message, 1);
        return;
    }
    if (m_textSide && m_textSide->RunFeature(name))
        return;
#endif
    ShowMessageBox(QStringLiteral("“%1”功能尚未提供。").arg(FeatureNames().value(name, name)), 1);
}

void PlayLessonForm::btPlay_click() { Click(QStringLiteral("btPlay")); }
void PlayLessonForm::btRepeatSentence_click() { Click(QStringLiteral("btRepeatSentence")); }
void PlayLessonForm::btAutoRepeat_click() { Click(QStringLiteral("btAutoRepeat")); }
void PlayLessonForm::btPlaySentence_click() { Click(QStringLiteral("btPlaySentence")); }
void PlayLessonForm::btABRepeatA_click() { Click(QStringLiteral("btABRepeatA")); }
void PlayLessonForm::btABRepeatB_click() { Click(QStringLiteral("btABRepeatB")); }
void PlayLessonForm::btPause_click() { Click(QStringLiteral("btPause")); }
void PlayLessonForm::btStop_click() { Click(QStringLiteral("btStop")); }
void PlayLessonForm::btPrev_click() { Click(QStringLiteral("btPrev")); }
void PlayLessonForm::btNext_click() { Click(QStringLiteral("btNext")); }
void PlayLessonForm::btMarkSentence_click() { Click(QStringLiteral("btMarkSentence")); }
void PlayLessonForm::btDigest_click() { Click(QStringLiteral("btDigest")); }
void PlayLessonForm::btPrint_click() { Click(QStringLiteral("btPrint")); }

bool PlayLessonForm::SearchWord(const QString &mode, const QString &text, bool wholeWord)
{
#ifdef MVX_HAVE_PAGES
    if (m_textSide)
        return m_textSide->Tools().SearchWord(mode, text, wholeWord);
#endif
    return false;
}

void PlayLessonForm::PrintDoc(const QString &mode)
{
#ifdef MVX_HAVE_PAGES
    if (m_textSide)
        m_textSide->Tools().PrintDoc(mode);
#endif
}
void PlayLessonForm::btSearch_click() { Click(QStringLiteral("btSearch")); }
void PlayLessonForm::btMp3_click() { Click(QStringLiteral("btMp3")); }
void PlayLessonForm::btSpell_click() { Click(QStringLiteral("btSpell")); }
void PlayLessonForm::btSpeak_click() { Click(QStringLiteral("btSpeak")); }
void PlayLessonForm::btThink_click() { Click(QStringLiteral("btThink")); }
void PlayLessonForm::btStopThinking_click() { Click(QStringLiteral("btStopThinking")); }
void PlayLessonForm::btWordSummary_click() { Click(QStringLiteral("btWordSummary")); }
void PlayLessonForm::btNotebook_click() { Click(QStringLiteral("btNotebook")); }
void PlayLessonForm::btSetting_click() { Click(QStringLiteral("btSetting")); }
void PlayLessonForm::btBrowse_click() { Click(QStringLiteral("btBrowse")); }

void PlayLessonForm::btWinHelp_click()
{
    if (!TipsMayOpen()) {
        QTimer::singleShot(500, this, &PlayLessonForm::btWinHelp_click);
        return;
    }
    ShowUsageTips();
}

// The drill windows cover the current sentence to the lesson's end; the book is closed for
// them and the player hidden. Afterwards a changed book reloads the pages; otherwise the book
// is opened again with the pages and the current sentence kept.
void PlayLessonForm::RunDrill(const QString &name)
{
    PlaybackController &c = *m_controller;
    const int cur = c.CurSentence();
    if (c.BookHandle() == -1 || cur < 0)
        return;
    const int first = c.GetSentenceNoInAll(cur);
    const int count = c.SentenceCount() - cur;
    const QString note = QStringLiteral("brxspecial_note");
    QString bookFile = c.BookFile();
    c.CloseBookForDrill();
    bool changed = false;
    if (name == QLatin1String("btSpell")) {
        if (bcSpell_Init(this, bookFile, first, count, note)) {
            hide();
            bcSpell_LoadAndShowNoDegree(0);
            show();
        }
        changed = bcSpell_IfSentenceChanged() != 0;
    } else if (name == QLatin1String("btSpeak")) {
        if (bcSpeak_Init(this, bookFile, first, count, note)) {
            hide();
            bcSpeak_LoadAndShow();
            show();
        }
        changed = bcSpeak_IfSentenceChanged() != 0;
    } else {
        if (bcShuffleRecite_InitEx(this, bookFile, first, count, count, note)) {
            hide();
            bcShuffleRecite_LoadAndShowNoDegree(0);
            show();
        }
        changed = bcShuffleRecite_IfSentenceChanged() != 0;
    }
    if (!changed)
        c.ReopenBookAfterDrill(bookFile);
    else if (bookFile != c.BookFile())
        OpenLesson(bookFile, c.LessonNo(), true);
    else
        OpenLesson(QString(), -1, true);
    RefreshView();
}

void PlayLessonForm::DigestSeg(const QString &name)
{
    m_excerptActions->DigestSeg(name);
}

void PlayLessonForm::DigestToSentra()
{
    m_excerptActions->DigestToSentra();
}

// Browsing runs with the player visible behind it; the pages are rebuilt afterwards whatever
// happened in the window (one more sentence is handed over than the lesson has left).
void PlayLessonForm::RunBrowse()
{
    PlaybackController &c = *m_controller;
    const int cur = c.CurSentence();
    if (c.BookHandle() == -1 || cur < 0)
        return;
    QString bookFile = c.BookFile();
    const int first = c.GetSentenceNoInAll(cur);
    c.CloseBookForDrill();
    if (bcBrowse_Init(this, bookFile, first, c.SentenceCount() - cur + 1, QStringLiteral("notebook\\brxspecial_note")))
        bcBrowse_LoadAndShow();
    if (bookFile != c.BookFile())
        OpenLesson(bookFile, c.LessonNo(), true);
    else
        OpenLesson(QString(), -1, true);
    RefreshView();
}

// The summary window reads the book beside the player: the book stays open, the pages stay.
void PlayLessonForm::WordSummary(bool keywords, bool newwords)
{
    PlaybackController &c = *m_controller;
    const int cur = c.CurSentence();
    if (c.BookHandle() == -1 || cur < 0)
        return;
    const int mode = keywords && newwords ? 2 : keywords ? 1 : 0;
    QString bookFile = c.BookFile();
    const int words = bcWordSummary_Init(this, bookFile, c.GetSentenceNoInAll(cur), c.SentenceCount() - cur + 1, mode,
                                         WorkingFiles::TmpSummary, WorkingFiles::TmpSummary + QStringLiteral(".lib"));
    if (words == -1) {
        ShowMessageBox(NoMarkedWordsMessage(), 1);
        return;
    }
    if (words <= 0)
        return;
    c.btStop_Click(); // the window plays its own sentences
    hide();
    bcWordSummary_LoadAndShowEx2(WorkingFiles::TmpSummary, WorkingFiles::TmpSummary + QStringLiteral(".lib"),
                                 App().appName, 0, QStringLiteral("mvxdictec.idx"), QStringLiteral("mvxdictec.lib"));
    show();
    RefreshView();
}

const QString &PlayLessonForm::NoMarkedWordsMessage()
{
    static const QString text = QStringLiteral("文章中必须有生词或关键词，才能进行词句联动\r\n\r\n"
                                               "Ctrl+鼠标左键点击能标记关键词，Ctrl+鼠标右键点击能标记生词");
    return text;
}

void PlayLessonForm::ToRecite(const QString &mode)
{
    if (mode == QLatin1String("rbThink")) {
#ifdef MVX_HAVE_PAGES
        if (m_textSide)
            m_textSide->Think().ThinkEnglish();
#endif
    } else if (mode == QLatin1String("rbShuffle")) {
        RunDrill(mode);
    }
}

void PlayLessonForm::EnableThinkingButtons(bool enabled)
{
    for (const char *name : {"btBrowse", "btSpell", "btSpeak", "btWordSummary", "btSetting", "btSearch", "btPlay",
                             "btAutoRepeat", "btThink"})
        m_controller->EnableButton(QLatin1String(name), enabled);
    m_controller->EnableButton(QStringLiteral("btStopThinking"), !enabled);
    if (CInterface *skin = Skin()) {
        skin->ShowButton(QLatin1String(enabled ? "btThink" : "btStopThinking"));
        skin->HideButton(QLatin1String(enabled ? "btStopThinking" : "btThink"));
    }
}

void PlayLessonForm::btWinMin_click() { showMinimized(); }
void PlayLessonForm::btWinMax_click() { showMaximized(); }
void PlayLessonForm::btWinNormal_click() { showNormal(); }
void PlayLessonForm::btWinClose_click() { reject(); } // unloads (see SkinnedWindow)

void PlayLessonForm::lbHotkey_Click()
{
    vcHtmlHelp(QStringLiteral("mvxbrxspecial.chm::htmlsrc/mvxbrx_hotkeys.htm"));
}


// ---- Text side ------------------------------------------------------------------------------

bool PlayLessonForm::event(QEvent *event)
{
    int result = 0;
    if (PlayerMessageHook(*this, event, &result))
        return true;
    return SkinnedWindow::event(event);
}

void PlayLessonForm::ReloadLesson(bool regeneratePages)
{
    OpenLesson(QString(), -1, regeneratePages);
}

void PlayLessonForm::ShowDisplaySettings()
{
    DisplaySettingForm dialog(this);
    dialog.SetPreview(m_displayPreview);
    dialog.Load();
    if (dialog.exec() != QDialog::Accepted)
        return;
    ReloadAfterSettings();
}

void PlayLessonForm::ReloadAfterSettings()
{
    // A reload asked for during a wait would be dropped by the player: try again shortly.
    if (m_controller->IsBusy() || WaitRunning()) {
        m_settingsReload.start();
        return;
    }
    m_settingsReload.stop();
    ReloadLesson(true);
}

void PlayLessonForm::ShowMessage(const QString &text)
{
    ShowMessageBox(text, 1);
}

int PlayLessonForm::MakeNewwordNote()
{
    return m_textSide ? m_textSide->MakeNewwordNote() : 0;
}

int PlayLessonForm::SaveWordMean()
{
    return m_textSide ? m_textSide->SaveWordMean() : 0;
}

int PlayLessonForm::NotebookFormUnload(qintptr wParam, qintptr lParam)
{
#ifdef MVX_HAVE_PAGES
    if (m_textSide) {
        m_textSide->Notebook().Closed(int(wParam), int(lParam));
        return 0;
    }
#endif
    SaveUserInt(QString::fromLatin1(Key::NotebookFormLeft), int(wParam));
    SaveUserInt(QString::fromLatin1(Key::NotebookFormTop), int(lParam));
    return 0;
}

void PlayLessonForm::EditCurComment()
{
#ifdef MVX_HAVE_PAGES
    // The dialog is modal while playing goes on: it writes to the sentence it was opened for.
    const int n = m_controller->CurSentence();
    if (!m_textSide || n < 0 || m_controller->BookHandle() == -1)
        return;
    CommentEditor &editor = m_textSide->Comments();
    const QString comment = editor.Comment(n);
    AddCommentForm dialog(this);
    dialog.Load();
    dialog.move(geometry().topLeft());
    dialog.SetComment(comment);
    if (comment.isEmpty())
        dialog.HideDeleteButton();
    dialog.exec();
    if (dialog.ChoiceMade() == AddCommentForm::Choice::Cancelled)
        return;
    const QString text = dialog.ChoiceMade() == AddCommentForm::Choice::Deleted ? QString() : dialog.Text();
    if (!editor.ModifyCurSentence(n, text))
        ShowMessageBox(QStringLiteral("注释没有保存：课文文件无法写入。"), 1);
#endif
}

int PlayLessonForm::ShowWordSrc(qintptr wParam)
{
    // The notebook names the sentence by its number in the whole book.
    const int n = int(wParam) - m_controller->GetSentenceNoInAll(0);
    if (m_controller->BookHandle() == -1 || n < 0 || n >= m_controller->SentenceCount())
        return 0;
    m_controller->btStop_Click();
    m_controller->btStop_Click();
    m_controller->SetCurSentence(n);
    return 0;
}

} // namespace mvx
