#pragma once
// The lesson pages as the playback logic sees them. The pages side (the HTML view with
// the English, Chinese and comment frames) implements it; the playback logic calls it to
// load a lesson's pages, to move the current-sentence highlight and to keep the current
// sentence in view. Sentences are numbered within the lesson (0 .. SentenceCount - 1).
// Every call may run while no pages are loaded: then elements do not exist and the
// highlight and scroll calls do nothing. Calls that wait for the view keep the event loop
// running; the caller guards itself against being re-entered meanwhile.
#include <QList>
#include <QString>

namespace mvx {

// Which text of a sentence an element holds ("ste", "stc" and "stz" ids in the pages).
enum class SentenceText { English, Chinese, Comment };

// What loading a lesson's pages reports (filled only when the load succeeds).
// A lesson holds at most 3501 sentences.
struct LessonPagesResult
{
    int bookHandle = -1;          // open book (read-write), kept open until CloseLessonPages
    int sentenceCount = 0;        // sentences of the lesson, title line included
    int hasTitleSentence = 0;     // 1 when sentence 0 is the title line
    int lessonFirstSentence = 0;  // number in the whole book of the lesson's sentence 0
};

// Which texts are shown and how; masking is the recite/think mode's hidden text.
struct PageShowState
{
    bool englishShown = true;
    bool chineseShown = true;
    bool commentShown = true;
    bool mixedLayout = false;
    bool maskActive = false;
};

class PageSide
{
public:
    virtual ~PageSide() = default;

    // Opens the book (when regenerate), has the library write the four working pages and
    // loads them into the view, waiting until the frames are ready. Returns 1, or -1 when
    // the book cannot be opened or the pages cannot be made (the frames then stay as they
    // were and result is untouched). With regenerate false only the frames are reloaded from
    // the pages already written, and result reports the open lesson's values again.
    virtual int LoadLessonPages(const QString &bookFile, int lessonNo, bool regenerate, LessonPagesResult &result) = 0;
    // Applies the display options (colours, texture, fonts, key/new words, marked sentences).
    virtual void ApplyDisplayOptions() = 0;
    // Closes the book and forgets the loaded pages' elements.
    virtual void CloseLessonPages() = 0;
    // Closes only the book, keeping the pages (a library window works on the file meanwhile),
    // and opens it again read-write afterwards: the new handle, or -1.
    virtual void CloseBook() {}
    virtual int ReopenBook(const QString &bookFile)
    {
        (void)bookFile;
        return -1;
    }

    [[nodiscard]] virtual PageShowState ShowState() const = 0;

    // True when the element of sentence n exists in a loaded page. For comments: exists
    // and its text is not empty.
    [[nodiscard]] virtual bool HasSentenceElement(SentenceText text, int n) const = 0;
    // How the element lies in its scrolled page, 0..5; 1 = fully in view. 0 for no element.
    [[nodiscard]] virtual int ElementDisplayingStatus(SentenceText text, int n) = 0;
    // Switches the current-sentence look of sentence n on or off. English on: highlight and
    // the current sentence's key words by its degree; English off: plain highlight with the
    // key/new-word switches; Chinese: highlight; Comment: current colour, or the plain comment
    // look (no decoration, normal weight, comment colour).
    virtual void ShowCurSentence(SentenceText text, int n, bool current) = 0;
    // Scrolls sentence n's element (English: its offset parent unless that is the body) so
    // that it aligns with the top (alignTop) or the bottom of its page.
    virtual void ScrollSentence(SentenceText text, int n, bool alignTop) = 0;
    // Refills the small current-sentence pages shown while the full English or Chinese page
    // is hidden (each with its own auto-show switch); does nothing for a shown page.
    virtual void RefreshCurrentSentencePages(int n) = 0;
    // Shows a thin mark in the margin of these sentences' English (the learner's hard ones)
    // and takes it off every other sentence.
    virtual void MarkHardSentences(const QList<int> &sentences) { (void)sentences; }

    // The lookups by their page names.
    [[nodiscard]] bool GetESentence(int n) const { return HasSentenceElement(SentenceText::English, n); }
    [[nodiscard]] bool GetCSentence(int n) const { return HasSentenceElement(SentenceText::Chinese, n); }
    [[nodiscard]] bool GetComment(int n) const { return HasSentenceElement(SentenceText::Comment, n); }
};

} // namespace mvx
