#pragma once
// The lesson player's text side: makes a lesson's pages through the sentence-book library,
// loads them into the HTML view's frames, binds the frame documents and hooks the sentence
// labels to the six page-event sinks, and restyles sentences in place (highlight, key words,
// new words, marks, fonts, background). Implements the playback logic's PageSide.
//
// - Sentences are numbered within the lesson; elements are looked up by their page ids
//   ("ste"/"stc"/"stz" + n, "No" + k) in the documents bound at the last load; a text that is
//   not shown has no elements, and every operation on a missing element does nothing.
// - Styling calls go to the page agent in order and return at once. Loading and
//   ElementDisplayingStatus wait for the view (bounded; learner input is held back meanwhile).
// - The open book (read-write) is owned here from a regenerating load until CloseLessonPages.
// - Page events reach the destination's named methods ("EHtmlEventHandler" ...) through the
//   toolkit's clsHtmlEventProc sinks; the method reads CurrentEvent(). Events that arrive
//   while the view or the player waits are held and delivered in order once the wait ends,
//   as the view holds learner input. The waits run inside the player's busy scope.
// Colours are the settings' integers (red in the low byte); home is the program folder.
#include "dialogs/DisplayPreview.h"
#include "player/pages/CommentPage.h"
#include "player/pages/PageEvent.h"
#include "player/playback/PageSide.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace mvx {
class clsHtmlEventProc;
class PlayerOperations;
} // namespace mvx

namespace mvx::pages {

class PageHost;

class LessonPages final : public QObject, public PageSide, public CommentPage, public DisplayPreview
{
    Q_OBJECT
public:
    static constexpr int LoadTimeoutMs = 20000;
    static constexpr int QueryTimeoutMs = 2000;
    // The sink names, in the order of SinkIndex.
    enum SinkIndex { ScriptSink, ESink, CSink, CmtSink, ECurSink, CCurSink, SinkCount };
    static const std::array<QString, SinkCount> &SinkNames();

    // home: the program folder (holds alltmpfile/ with the frameset pages).
    LessonPages(PageHost &host, QString home, QObject *parent = nullptr);
    ~LessonPages() override;

    static constexpr int MaxHeldEvents = 64;
    // Binds the six sinks to the player window's named methods; player (may be null) is asked
    // whether it is busy before an event is passed on, and its busy scope covers the waits.
    void SetEventDestination(QObject *destination, PlayerOperations *player);
    // Runs a script in the view and waits for its result, inside the player's busy scope
    // (invalid on time-out).
    QVariant Query(const QString &script, int timeoutMs);
    // Page events waiting for the running wait to end.
    [[nodiscard]] int HeldEventCount() const { return int(m_held.size()); }
    // The event being handled, valid inside a sink's method.
    [[nodiscard]] const PageEvent &CurrentEvent() const { return m_event; }

    // ---- PageSide ---------------------------------------------------------------------
    int LoadLessonPages(const QString &bookFile, int lessonNo, bool regenerate, LessonPagesResult &result) override;
    void ApplyDisplayOptions() override;
    void CloseLessonPages() override;
    void CloseBook() override { CloseSentraBookLesson(); }
    int ReopenBook(const QString &bookFile) override;
    [[nodiscard]] PageShowState ShowState() const override { return m_show; }
    [[nodiscard]] bool HasSentenceElement(SentenceText text, int n) const override;
    [[nodiscard]] int ElementDisplayingStatus(SentenceText text, int n) override;
    void ShowCurSentence(SentenceText text, int n, bool current) override;
    void ScrollSentence(SentenceText text, int n, bool alignTop) override;
    void RefreshCurrentSentencePages(int n) override;

    // ---- Under the player's names -----------------------------------------------------
    // 1 on success, -1 with LastError() set (the previous frames stay, stale halves go).
    int LoadSentraBookLesson(const QString &szBookFileName, int nLessonNo, const QString &szEHtml,
                             const QString &szCHtml, const QString &szCommentHtml, const QString &szEcHtml,
                             bool bRegenerateHtml);
    void CloseSentraBookLesson();
    bool SplitEcHtml();
    bool LoadAllHtml();
    bool LoadLessonHtmls(const QString &framesetFile);
    // Hook one page's labels afresh (after its markup changed) and refresh its look-ups.
    // Re-analysing the English page also means the caller sets the current sentence again.
    bool AnalyzeELesson();
    bool AnalyzeCLesson();
    bool AnalyzeComment() override;
    // The frameset page for the shown texts and layout, e.g. "alltmpfile/htm101.htm".
    [[nodiscard]] static QString FramesetPageName(const PageShowState &show);
    [[nodiscard]] QString LastError() const { return m_error; }

    // Element look-ups by page id: the id when the element is in a bound document, else "".
    [[nodiscard]] QString GetESentence(int n) const;
    [[nodiscard]] QString GetCSentence(int n) const;
    [[nodiscard]] QString GetComment(int n) const;
    [[nodiscard]] QString GetNoLabel(int k) const;
    // The frame holding each text ("" when the text is not shown).
    [[nodiscard]] QString FrameOf(SentenceText text) const;

    // ---- The comment page, patched in place ------------------------------------------
    // Whether sentence n has a comment label in the shown comment page.
    [[nodiscard]] bool HasCommentLabel(int n) const override;
    // Whether the label holds text now (asks the page, waiting).
    [[nodiscard]] bool CommentLabelHasText(int n) override;
    void SetCommentMarkup(int n, const QString &innerHtml) override;
    // The line break "br" + n after the label: inserted once, removed.
    void InsertCommentBreak(int n) override;
    void RemoveCommentBreak(int n) override;

    // ---- Switches and styling ---------------------------------------------------------
    void SetShowState(const PageShowState &show) { m_show = show; }
    void SetMaskActive(bool active) { m_show.maskActive = active; }
    void SetAutoShow(bool english, bool chinese);
    [[nodiscard]] bool AutoShowEnglish() const { return m_autoShowEnglish; }
    [[nodiscard]] bool AutoShowChinese() const { return m_autoShowChinese; }
    void SetSelectingByProgram(bool selecting);
    // Finds text forward from the frame's search range (case ignored, white space runs as one
    // blank, wrapping to the top once), selects it and scrolls it into view, all in one agent
    // call. The answer map holds "found" (and "wrapped", "selected"); invalid on time-out.
    QVariant FindInFrame(const QString &frame, const QString &text, bool wholeWord);
    // Forgets every frame's search range (the search dialog closed).
    void DropSearchRanges();
    [[nodiscard]] bool MarkedShown() const { return m_markedShown; }
    void ShowAllMarkedSentences(bool show);
    void MarkHardSentences(const QList<int> &sentences) override;
    void ShowAllKeyWords(bool show);
    void ShowAllNewWords(bool show);
    void SetEnglishFont();
    void SetChineseFont();
    void ShowESentenceDocContent(bool show);
    void ShowCSentenceDocContent(bool show);

    // ---- Trial look of the display settings --------------------------------------------
    // Restyles the loaded pages with the candidate settings (App().display untouched), one
    // agent batch per event-loop turn; the first call records every bound frame's style
    // attributes and scroll. End(false) puts them back exactly, End(true) forgets them.
    void Show(const DisplaySettings &candidate, bool nightLook) override;
    void End(bool keep) override;
    [[nodiscard]] bool Previewing() const { return m_previewSaved; }

    // ---- State of the open lesson -----------------------------------------------------
    [[nodiscard]] int BookHandle() const { return m_bookHandle; }
    [[nodiscard]] int SentenceCount() const { return m_sentenceCount; }
    [[nodiscard]] int LessonFirstSentence() const { return m_firstSentence; }
    [[nodiscard]] bool HasTitleSentence() const { return m_hasTitle; }
    [[nodiscard]] const std::vector<int> &SentenceDegrees() const { return m_degrees; }
    void SetSentenceDegree(int n, int degree);
    // Style strings handed to the library, with the installed fallback families.
    [[nodiscard]] static QString EnglishStyle();
    [[nodiscard]] static QString ChineseStyle();
    [[nodiscard]] static QString PageColour(int settingsColour); // "#RRGGBB"

signals:
    // A page event no sink is bound for, or one too many held during a wait.
    void eventDropped(const mvx::pages::PageEvent &event);
    void pagesLoaded();

private:
    void OnPageEvent(const PageEvent &event);
    void Deliver(int sink, const PageEvent &event);
    void DeliverHeldEvents();
    [[nodiscard]] bool Waiting() const;
    [[nodiscard]] QString Path(const QString &relative) const;
    [[nodiscard]] QString IdOf(SentenceText text, int n) const;
    [[nodiscard]] int FirstSentence() const { return m_hasTitle ? 1 : 0; }
    void RunOps(const QVariantList &ops); // a list of ops, each [name, args...]
    // The background, texture and colour scheme of every bound frame under the settings in
    // force; explicit: also clear what the day does not set (for a trial look).
    [[nodiscard]] QVariantList BackgroundOps(bool explicitNone) const;
    [[nodiscard]] QStringList BoundFrames() const;
    void ApplyPreview();
    void RunOp(const QVariantList &op);
    void ForgetDocuments();
    bool Analyze(const QString &frame, int sink, const QString &prefix, QSet<int> &ids, QSet<int> *filled);

    PageHost &m_host;
    QString m_home;
    std::array<std::unique_ptr<clsHtmlEventProc>, SinkCount> m_sinks;
    PlayerOperations *m_player = nullptr;
    PageEvent m_event;
    std::vector<std::pair<int, PageEvent>> m_held; // sink index and event, in arrival order
    bool m_delivering = false;
    QTimer m_heldTimer; // checks for the end of the wait while events are held

    PageShowState m_show;
    bool m_autoShowEnglish = false;
    bool m_autoShowChinese = false;
    bool m_markedShown = true;
    QString m_error;

    int m_bookHandle = -1;
    QString m_bookFile;
    int m_lessonNo = -1;
    int m_sentenceCount = 0;
    int m_firstSentence = 0;
    bool m_hasTitle = false;
    std::vector<int> m_degrees;
    bool m_loaded = false; // pages of a lesson are bound
    QVariantList *m_collect = nullptr; // styling ops gathered here instead of run
    bool m_previewSaved = false;
    DisplaySettings m_previewCandidate;
    bool m_previewNight = false;
    QTimer m_previewTimer;
    int m_current = -1;    // the sentence last made current in the pages

    // Bound documents: frame names, "" when unbound.
    QString m_eFrame, m_cFrame, m_cmtFrame, m_eCurFrame, m_cCurFrame;
    QSet<int> m_eIds, m_cIds, m_cmtIds, m_cmtFilled, m_noIds;
};

} // namespace mvx::pages
