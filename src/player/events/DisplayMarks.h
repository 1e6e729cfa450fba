#pragma once
// The lesson player's display switches and sentence marks: marking the current sentence
// (stored in the book at once, underlined whatever MarkedShown is), Alt+H (all marked
// sentences shown or not), Alt+E (the current Chinese sentence's highlight), and the shown
// texts / layout switches, which reload the lesson with pages made afresh (so the marks set
// since the pages were last made show). The switches
// are refused while masking is active, with the learner told why.
#include "player/playback/PageSide.h"

namespace mvx {

class BookMarks;
class EventPages;
class LessonReloader;
class PlayerOperations;

class DisplayMarks final
{
public:
    DisplayMarks(PlayerOperations &player, EventPages &pages, BookMarks &book, LessonReloader &reloader);

    // Toggles the current sentence's mark; nothing on the title or with no current sentence,
    // and nothing at all when the book refuses the change.
    void btMarkSentence_Click();
    // Alt+H.
    void ToggleMarkedSentences();
    // When Chinese is shown: remembers show and highlights (or not) the current Chinese sentence.
    void HilightCurCSentence(bool show);
    // Alt+E: the opposite of the last use, only while Chinese is shown and either the layout
    // is separate or English is hidden. Returns true when it acted.
    bool ToggleChineseHighlight();
    [[nodiscard]] bool ChineseHighlight() const { return m_chineseHighlight; }

    // The check boxes (English, Chinese, Comment) and the layout option. Return false when
    // refused (masking) or when nothing changes.
    bool SetTextShown(SentenceText text, bool shown);
    bool SetMixedLayout(bool mixed);

    static const QString &RefusedWhileMasking();

private:
    [[nodiscard]] bool RefuseWhileMasking();

    PlayerOperations &m_player;
    EventPages &m_pages;
    BookMarks &m_book;
    LessonReloader &m_reloader;
    bool m_chineseHighlight = true;
};

} // namespace mvx
