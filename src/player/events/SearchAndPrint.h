#pragma once
// The player's search and print commands over the lesson pages: the search dialog with its
// SearchWord (find the next occurrence in the English or the Chinese page, wrapping to the
// top), and printing the shown page (asking which one when both are shown side by side).
// Waits for the pages run in the player's busy scope, so no sentence change starts meanwhile.
#include <QString>

#include <memory>

class QWidget;

namespace mvx {

class PlayerOperations;
namespace pages {
class LessonPages;
class PageHost;
class PrintOutput;
} // namespace pages

class SearchAndPrint final
{
public:
    // window: the player window, the dialogs' owner and calling form (it offers SearchWord and
    // PrintDoc by name); home: the program folder.
    SearchAndPrint(PlayerOperations &player, pages::LessonPages &pages, pages::PageHost &host, QWidget *window,
                   QString home);
    ~SearchAndPrint();

    void btSearch_click();
    bool SearchWord(const QString &mode, const QString &text, bool wholeWord);
    void btPrint_Click();
    void PrintDoc(const QString &mode);
    // Where printing goes; the printer dialog unless replaced (a PDF file).
    void SetPrintOutput(std::unique_ptr<pages::PrintOutput> output);

private:
    void PrintFrame(const QString &frame);

    PlayerOperations &m_player;
    pages::LessonPages &m_pages;
    pages::PageHost &m_host;
    QWidget *m_window;
    QString m_home;
    std::unique_ptr<pages::PrintOutput> m_output;
};

} // namespace mvx
