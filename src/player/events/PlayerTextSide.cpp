#include "player/events/PlayerTextSide.h"

#include "core/AppState.h"
#include "player/pages/LessonPages.h"
#include "player/playback/PlayerOperations.h"

namespace mvx {

PlayerTextSide::PlayerTextSide(PlayerOperations &player, pages::LessonPages &pages, pages::PageHost &host,
                               QWidget *window, QWidget *view, LessonReloader &reloader,
                               ThinkingButtons &buttons, std::function<QString()> bookFile)
    : m_side(pages, host),
      m_book([&player] { return player.BookHandle(); }, bookFile),
      m_dict(window, view),
      m_handler(player, m_side, m_book, m_dict, m_sound),
      m_marks(player, m_side, m_book, reloader),
      m_think(player, m_side, m_handler, reloader, buttons),
      m_dispatcher(pages, m_handler),
      m_comments(player, pages, [&player] { return player.BookHandle(); }),
      m_notebook(player, std::move(bookFile), [&pages] { return pages.HasTitleSentence(); }),
      m_tools(player, pages, host, window, App().appPath)
{
}

bool PlayerTextSide::RunFeature(const QString &name)
{
    if (name == QLatin1String("ShowAllMarkedSentences")) {
        m_marks.ToggleMarkedSentences();
    } else if (name == QLatin1String("HilightCurCSentence")) {
        m_marks.ToggleChineseHighlight();
    } else if (name == QLatin1String("ShowCurESentence")) {
        m_handler.ShowCurrentEnglish();
    } else if (name == QLatin1String("ShowCurCSentence")) {
        m_handler.ShowCurrentChinese();
    } else if (name == QLatin1String("ToggleAutoShowEnglish")) {
        m_handler.ToggleAutoShowEnglish();
    } else if (name == QLatin1String("ToggleAutoShowChinese")) {
        m_handler.ToggleAutoShowChinese();
    } else if (name == QLatin1String("btMarkSentence")) {
        m_marks.btMarkSentence_Click();
    } else if (name == QLatin1String("RevealNextWord")) {
        m_handler.RevealNextWord();
    } else if (name == QLatin1String("btStopThinking")) {
        m_think.btStopThinking_Click();
    } else if (name == QLatin1String("btSearch")) {
        m_tools.btSearch_click();
    } else if (name == QLatin1String("btPrint")) {
        m_tools.btPrint_Click();
    } else {
        return false;
    }
    return true;
}

} // namespace mvx
