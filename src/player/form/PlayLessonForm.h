#pragma once
// The lesson player window: the skinned frame with its buttons, the page view wbScript
// (filled by the lesson pages), the waveform view with its scroll bar, the status labels
// and the speed box, over the playback logic (PlaybackController), the real media back
// end and the sentence sound source. Load and unload follow the window's fixed order with
// its settings; keys reach the window first, also while a page has the focus.
//
// Usage by the library window: create, Load() (or show), OpenLesson(book, lesson, true),
// show(), StartTimerHint(). The window emits closed() after its unload.
#include "ui/SkinnedWindow.h"

#include "core/CustomEvents.h"
#include "player/events/LessonReloader.h"
#include "player/events/ThinkMode.h"

#include "libs/media/MediaPlayer.h"
#include "player/form/BookSoundSource.h"
#include "player/playback/QtPlayerClock.h"

#include <QPixmap>
#include <QTimer>
#include <memory>

class QComboBox;
class QToolButton;
class QLabel;
class QScrollBar;

namespace mvx {

class DisplayPreview;
class PageSide;
class PlayerExcerpts;
class PlayerStudyLog;
class PlayerTextSide;
class PlaybackController;
class WaveView;

class PlayLessonForm final : public SkinnedWindow,
                             public LessonReloader,
                             public PlayerMessageTarget,
                             public ThinkingButtons
{
    Q_OBJECT
public:
    explicit PlayLessonForm(QWidget *parent = nullptr);
    ~PlayLessonForm() override;

    // Opens a lesson (or reopens the open one with "" / -1), with the hourglass shown.
    void OpenLesson(const QString &szBookFileName, int nLessonNo, bool bRegenerateHtml);
    // Starts the 500 ms timer that shows the usage tips once (tips arrive with their window).
    void StartTimerHint();

    [[nodiscard]] PlaybackController &Controller() const { return *m_controller; }
    [[nodiscard]] PageSide &Pages() const { return *m_pages; }
    [[nodiscard]] WaveView *WaveGraph() const { return m_wave; }
    [[nodiscard]] QWidget *ScriptView() const { return m_wbScript; }
    [[nodiscard]] bool FormLoaded() const { return m_formLoaded; }
    // Renders the window into a picture (for the documentation screenshot).
    [[nodiscard]] QPixmap Snapshot();

    // Button handlers (tag + "_click"); each runs only while its button is enabled.
    Q_INVOKABLE void btPlay_click();
    Q_INVOKABLE void btRepeatSentence_click();
    Q_INVOKABLE void btAutoRepeat_click();
    Q_INVOKABLE void btPlaySentence_click();
    Q_INVOKABLE void btABRepeatA_click();
    Q_INVOKABLE void btABRepeatB_click();
    Q_INVOKABLE void btPause_click();
    Q_INVOKABLE void btStop_click();
    Q_INVOKABLE void btPrev_click();
    Q_INVOKABLE void btNext_click();
    Q_INVOKABLE void btMarkSentence_click();
    Q_INVOKABLE void btDigest_click();
    Q_INVOKABLE void btPrint_click();
    Q_INVOKABLE void btSearch_click();
    Q_INVOKABLE void btMp3_click();
    Q_INVOKABLE void btSpell_click();
    Q_INVOKABLE void btSpeak_click();
    Q_INVOKABLE void btThink_click();
    Q_INVOKABLE void btStopThinking_click();
    Q_INVOKABLE void btWordSummary_click();
    Q_INVOKABLE void btNotebook_click();
    Q_INVOKABLE void btSetting_click();
    // The display settings dialog; its OK reloads the open lesson with the new look.
    void ShowDisplaySettings();
    Q_INVOKABLE void btBrowse_click();
    Q_INVOKABLE void btWinHelp_click();
    Q_INVOKABLE void btWinMin_click();
    Q_INVOKABLE void btWinMax_click();
    Q_INVOKABLE void btWinNormal_click();
    Q_INVOKABLE void btWinClose_click();
    Q_INVOKABLE void lbHotkey_Click();
    Q_INVOKABLE void TimerHint_Timer();
    // The recitation dialog's choice: "rbThink" masks the article, "rbShuffle" the shuffled
    // sentences; anything else does nothing.
    Q_INVOKABLE void ToRecite(const QString &mode);
    // The word-summary dialog's choice: key words, new words or both, from the current
    // sentence on; without any such word the learner is told how to mark them.
    Q_INVOKABLE void WordSummary(bool keywords, bool newwords);
    static const QString &NoMarkedWordsMessage();
    // While thinking, the study buttons are off and "btStopThinking" stands in for "btThink".
    void EnableThinkingButtons(bool enabled) override;
    // Called back by the search and print dialogs: the next occurrence of text in the English
    // ("English") or Chinese page; printing the English ("rbEnglish") or Chinese ("rbChinese") page.
    Q_INVOKABLE bool SearchWord(const QString &mode, const QString &text, bool wholeWord);
    Q_INVOKABLE void PrintDoc(const QString &mode);

    // The text side's events, marks and display switches (null without the lesson pages).
    [[nodiscard]] PlayerTextSide *TextSide() const { return m_textSide.get(); }
    // Reloads the open lesson for a changed show state or layout; tells the learner.
    void ReloadLesson(bool regeneratePages) override;
    void ShowMessage(const QString &text) override;
    // The notebook library's reports (2259, 2260, 2261, 2263).
    int MakeNewwordNote() override;
    int NotebookFormUnload(qintptr wParam, qintptr lParam) override;
    int ShowWordSrc(qintptr wParam) override;
    int SaveWordMean() override;
    // The comment page's edit link: the comment dialog for the current sentence.
    Q_INVOKABLE void EditCurComment();
    // Called back by the excerpt dialog: the current sentence (or the repeated part) kept in
    // "segment" under name, or the whole sentence handed to the sentence memoriser.
    Q_INVOKABLE void DigestSeg(const QString &name);
    Q_INVOKABLE void DigestToSentra();
    // Opens a lesson (unless it is the open one) and goes to its sentence noInLesson (the
    // study-record window's hard sentences).
    void OpenSentence(const QString &bookFile, int lessonNo, int noInLesson);
    [[nodiscard]] PlayerStudyLog &StudyLog() const { return *m_studyLog; }

signals:
    void closed();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool Form_KeyDown(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A close asked for while the player or the page view waits is held and carried out
    // once the wait is over: nothing is unloaded under a running sentence change.
    void done(int result) override;

private:
    void BuildControls();
    void ResizeForm();
    void PlaceWindowButtons();
    void PlaceRowTools();
    void PlaceRepeatStatus();
    void RefreshView();
    void RefreshScrollBar();
    void RefreshButtonFace(const QString &tag, bool enabled);
    void OnFeature(const QString &name);
    // The spelling ("btSpell"), speaking ("btSpeak") and shuffled recitation ("rbShuffle")
    // windows from the current sentence to the lesson's end, the player hidden meanwhile; the
    // book is closed for them and opened again (or the lesson reloaded when they changed
    // sentences).
    void RunDrill(const QString &name);
    // The browsing window, the player visible behind it; the pages are rebuilt afterwards.
    void RunBrowse();
    void FilterKeysOf(QObject *object);
    void Click(const QString &tag);

    MediaPlayer m_media;
    QtPlayerClock m_clock;
    BookSoundSource m_sounds;
    QWidget *m_wbScript = nullptr;
    std::unique_ptr<PageSide> m_pages;
    std::unique_ptr<PlaybackController> m_controller;
    std::unique_ptr<PlayerTextSide> m_textSide;
    WaveView *m_wave = nullptr;
    QScrollBar *m_hsWave = nullptr;
    QComboBox *m_cbSpeed = nullptr;
    QToolButton *m_btShow = nullptr; // which texts are shown, and the layout
    void BuildShowMenu();
    void SyncShowMenu();
    QToolButton *m_btTiming = nullptr; // the current sentence's timing nudges
    void BuildTimingMenu();
    std::unique_ptr<PlayerStudyLog> m_studyLog; // listening history, "只听难句", "学习记录"
    QToolButton *m_btHardOnly = nullptr;
    QToolButton *m_btRecord = nullptr;
    QLabel *m_lbInfo[3] = {nullptr, nullptr, nullptr};
    QLabel *m_lbCurSentenceNo = nullptr;
    QLabel *m_lbRepeatStatus = nullptr;
    QLabel *m_lbReadHint = nullptr;
    QLabel *m_lbHotkey = nullptr;
    QTimer m_timerHint;
    // The usage tips open only when no wait runs and no other window is modal.
    [[nodiscard]] bool TipsMayOpen() const;
    void ShowUsageTips();
    void ReloadAfterSettings();
    QTimer m_settingsReload; // retries the reload after the settings while the player waits
    DisplayPreview *m_displayPreview = nullptr;
    [[nodiscard]] bool WaitRunning() const;
    void CarryOutHeldClose();
    QTimer m_heldClose; // polls while a close waits for the running wait to end
    int m_heldCloseResult = 0;
    QPixmap m_borderTiles[4]; // ImgTop, ImgDown, ImgLeft, ImgRight
    QString m_borderTilesKey; // skin folder and scale they were loaded for
    std::unique_ptr<PlayerExcerpts> m_excerptActions; // F9 / btDigest and btMp3
    bool m_formLoaded = false;
    bool m_scrollSync = false;
    quint64 m_shownButtons = ~quint64(0);
};

} // namespace mvx
