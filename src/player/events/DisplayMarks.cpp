#include "player/events/DisplayMarks.h"

#include "player/events/BookMarks.h"
#include "player/events/EventPages.h"
#include "player/events/LessonReloader.h"
#include "player/playback/PlayerOperations.h"

namespace mvx {

DisplayMarks::DisplayMarks(PlayerOperations &player, EventPages &pages, BookMarks &book, LessonReloader &reloader)
    : m_player(player), m_pages(pages), m_book(book), m_reloader(reloader)
{
}

const QString &DisplayMarks::RefusedWhileMasking()
{
    static const QString text = QStringLiteral("正在全文背诵的时候，不能改变显示的布局");
    return text;
}

void DisplayMarks::btMarkSentence_Click()
{
    const int c = m_player.CurSentence();
    const int first = m_pages.HasTitleSentence() ? 1 : 0;
    if (c < first || c >= m_player.SentenceCount() || m_player.BookHandle() == -1) {
        return;
    }
    const int degree = m_pages.SentenceDegree(c) != 0 ? 0 : 1;
    // Stored first: a mark the book refused must not show as made.
    if (!m_book.SetDegree(m_player.GetSentenceNoInAll(c), degree)) {
        return;
    }
    m_pages.SetSentenceDegree(c, degree);
    m_pages.ShowSentenceMark(SentenceText::English, c, degree != 0);
    if (!m_pages.ShowState().mixedLayout) {
        m_pages.ShowSentenceMark(SentenceText::Chinese, c, degree != 0);
    }
}

void DisplayMarks::ToggleMarkedSentences()
{
    m_pages.ShowAllMarkedSentences(!m_pages.MarkedShown());
}

void DisplayMarks::HilightCurCSentence(bool show)
{
    if (!m_pages.ShowState().chineseShown) {
        return;
    }
    m_chineseHighlight = show;
    const int c = m_player.CurSentence();
    if (c >= 0) {
        m_pages.ShowCurSentence(SentenceText::Chinese, c, show);
    }
}

bool DisplayMarks::ToggleChineseHighlight()
{
    const PageShowState s = m_pages.ShowState();
    if (!s.chineseShown || (s.mixedLayout && s.englishShown)) {
        return false;
    }
    HilightCurCSentence(!m_chineseHighlight);
    return true;
}

bool DisplayMarks::RefuseWhileMasking()
{
    if (m_pages.ShowState().maskActive) {
        m_reloader.ShowMessage(RefusedWhileMasking());
        return true;
    }
    return false;
}

bool DisplayMarks::SetTextShown(SentenceText text, bool shown)
{
    if (RefuseWhileMasking()) {
        return false;
    }
    PageShowState s = m_pages.ShowState();
    bool &flag = text == SentenceText::English ? s.englishShown
                 : text == SentenceText::Chinese ? s.chineseShown
                                                 : s.commentShown;
    if (flag == shown) {
        return false;
    }
    m_player.btStop_Click();
    m_player.btStop_Click();
    flag = shown;
    m_pages.SetShowState(s);
    if (m_player.BookHandle() != -1) {
        // Pages made afresh: the marks set since the last making show at once.
        m_reloader.ReloadLesson(true);
    }
    return true;
}

bool DisplayMarks::SetMixedLayout(bool mixed)
{
    if (RefuseWhileMasking()) {
        return false;
    }
    PageShowState s = m_pages.ShowState();
    if (s.mixedLayout == mixed) {
        return false;
    }
    m_player.btStop_Click();
    m_player.btStop_Click();
    s.mixedLayout = mixed;
    m_pages.SetShowState(s);
    if (m_player.BookHandle() != -1) {
        m_reloader.ReloadLesson(true);
    }
    return true;
}

} // namespace mvx
