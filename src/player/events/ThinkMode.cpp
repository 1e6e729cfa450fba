#include "player/events/ThinkMode.h"

#include "player/events/EventPages.h"
#include "player/events/LessonReloader.h"
#include "player/events/PageEventHandler.h"
#include "player/playback/PlayerOperations.h"

namespace mvx {

ThinkMode::ThinkMode(PlayerOperations &player, EventPages &pages, PageEventHandler &handler,
                     LessonReloader &messages, ThinkingButtons &buttons)
    : m_player(player), m_pages(pages), m_handler(handler), m_messages(messages), m_buttons(buttons)
{
}

const QString &ThinkMode::EnglishHiddenMessage()
{
    static const QString text = QStringLiteral("只有在英文被显示的时候，才能进行全文背诵");
    return text;
}

const QString &ThinkMode::NothingToMaskMessage()
{
    static const QString text = QStringLiteral("现在没有被标记的句子，所以无法只背诵被标记的句子。");
    return text;
}

bool ThinkMode::Active() const
{
    return m_pages.ShowState().maskActive;
}

void ThinkMode::SetMaskActive(bool active)
{
    PageShowState show = m_pages.ShowState();
    show.maskActive = active;
    m_pages.SetShowState(show);
}

bool ThinkMode::ThinkEnglish()
{
    const PageShowState show = m_pages.ShowState();
    if (show.maskActive || m_player.BookHandle() == -1) {
        return false;
    }
    if (!show.englishShown) {
        m_messages.ShowMessage(EnglishHiddenMessage());
        return false;
    }
    m_handler.ClearMask();
    SetMaskActive(true);
    const int first = m_pages.HasTitleSentence() ? 1 : 0;
    int masked = 0;
    {
        // The page answers while the player waits: no timer or key may move the sentence.
        const PlayerOperations::BusyScope busy(&m_player);
        masked = m_handler.MaskSentences(first, m_player.SentenceCount() - 1);
    }
    if (masked == 0) {
        m_handler.ClearMask();
        SetMaskActive(false);
        m_messages.ShowMessage(NothingToMaskMessage());
        return false;
    }
    m_buttons.EnableThinkingButtons(false);
    if (show.mixedLayout && show.chineseShown && m_player.CurSentence() >= 0) {
        m_pages.ShowCurSentence(SentenceText::Chinese, m_player.CurSentence(), true);
    }
    return true;
}

void ThinkMode::btStopThinking_Click()
{
    if (!Active()) {
        return;
    }
    // A double click plays while masked: stop whatever plays before the study buttons (which
    // close the book) come back.
    const int status = m_player.PlayStatus();
    if (status != Stopped && status != NoLesson) {
        m_player.btStop_Click();
    }
    m_handler.UnmaskAll();
    SetMaskActive(false);
    const PageShowState show = m_pages.ShowState();
    if (show.mixedLayout && show.chineseShown && m_player.CurSentence() >= 0) {
        m_pages.ShowCurSentence(SentenceText::Chinese, m_player.CurSentence(), false);
    }
    m_buttons.EnableThinkingButtons(true);
}

} // namespace mvx
