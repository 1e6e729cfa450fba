#pragma once
// The masked recall of the whole article: ThinkEnglish masks every word after the title grey
// on grey and switches the player's buttons to "thinking"; the learner uncovers words with
// clicks, Q, C and F5 (PageEventHandler); btStopThinking_Click stops any playing, uncovers
// what is left with the key words' colour and switches the buttons back.
#include <QString>

namespace mvx {

class EventPages;
class LessonReloader;
class PageEventHandler;
class PlayerOperations;

// The window side of the button switch: while thinking, the study buttons are disabled and
// "btStopThinking" takes the place of "btThink".
class ThinkingButtons
{
public:
    virtual ~ThinkingButtons() = default;
    virtual void EnableThinkingButtons(bool enabled) = 0;
};

class ThinkMode final
{
public:
    ThinkMode(PlayerOperations &player, EventPages &pages, PageEventHandler &handler, LessonReloader &messages,
              ThinkingButtons &buttons);

    // Masks the article; false (with the learner told why) when English is hidden or no
    // sentence has words to mask.
    bool ThinkEnglish();
    // Ends the recall; does nothing while it is not running.
    void btStopThinking_Click();
    [[nodiscard]] bool Active() const;

    static const QString &EnglishHiddenMessage();
    static const QString &NothingToMaskMessage();

private:
    void SetMaskActive(bool active);

    PlayerOperations &m_player;
    EventPages &m_pages;
    PageEventHandler &m_handler;
    LessonReloader &m_messages;
    ThinkingButtons &m_buttons;
};

} // namespace mvx
