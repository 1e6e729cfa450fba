#include "player/events/SearchAndPrint.h"

#include "player/events/PrintModeForm.h"
#include "player/events/SearchForm.h"
#include "player/pages/LessonPages.h"
#include "player/pages/PagePrinting.h"
#include "player/playback/PlayerOperations.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QWidget>

namespace mvx {

SearchAndPrint::SearchAndPrint(PlayerOperations &player, pages::LessonPages &pages, pages::PageHost &host,
                               QWidget *window, QString home)
    : m_player(player), m_pages(pages), m_host(host), m_window(window), m_home(std::move(home)),
      m_output(std::make_unique<pages::PrinterOutput>(window))
{
}

SearchAndPrint::~SearchAndPrint() = default;

void SearchAndPrint::SetPrintOutput(std::unique_ptr<pages::PrintOutput> output)
{
    m_output = std::move(output);
}

void SearchAndPrint::btSearch_click()
{
    SearchForm form(m_window);
    form.Load();
    if (m_window)
        form.move(m_window->geometry().topLeft());
    form.SetCallingForm(m_window);
    // The mixed page is searched through the English option, which stays selected.
    if (m_pages.ShowState().mixedLayout)
        form.HideSearchMode();
    form.exec();
    m_pages.DropSearchRanges();
}

bool SearchAndPrint::SearchWord(const QString &mode, const QString &text, bool wholeWord)
{
    const bool english = mode == QLatin1String("English");
    const QString frame = m_pages.FrameOf(english ? SentenceText::English : SentenceText::Chinese);
    if (frame.isEmpty()) {
        ShowMessageBox(english ? QStringLiteral("必须在原文显示的状态下才能进行原文的查找")
                               : QStringLiteral("必须在译文显示的状态下才能进行译文的查找"),
                       1);
        return false;
    }
    QVariant answer;
    {
        PlayerOperations::BusyScope busy(&m_player);
        answer = m_pages.FindInFrame(frame, text, wholeWord);
    }
    if (!answer.toMap().value(QStringLiteral("found")).toBool()) {
        ShowMessageBox(QStringLiteral("您要查的文字文章里没有。"), 1);
        return false;
    }
    return true;
}

void SearchAndPrint::btPrint_Click()
{
    const PageShowState show = m_pages.ShowState();
    const QString eFrame = m_pages.FrameOf(SentenceText::English);
    const QString cFrame = m_pages.FrameOf(SentenceText::Chinese);
    if (!show.englishShown && !show.chineseShown) {
        ShowMessageBox(QStringLiteral("原文译文都不显示的时候不能进行打印"), 1);
        return;
    }
    if (!show.mixedLayout && show.englishShown && show.chineseShown) {
        PrintModeForm form(m_window);
        form.Load();
        form.SetCallingForm(m_window);
        form.exec();
        return;
    }
    PrintFrame(show.englishShown && !eFrame.isEmpty() ? eFrame : cFrame);
}

void SearchAndPrint::PrintDoc(const QString &mode)
{
    if (mode == QLatin1String("rbEnglish"))
        PrintFrame(m_pages.FrameOf(SentenceText::English));
    else if (mode == QLatin1String("rbChinese"))
        PrintFrame(m_pages.FrameOf(SentenceText::Chinese));
}

void SearchAndPrint::PrintFrame(const QString &frame)
{
    QString error;
    bool ok = false;
    if (frame.isEmpty()) {
        error = QStringLiteral("课文页面还没有载入");
    } else {
        PlayerOperations::BusyScope busy(&m_player);
        ok = pages::PagePrinting::PrintFrame(m_host, m_home, frame, *m_output, &error);
    }
    if (!ok)
        ShowMessageBox(QStringLiteral("打印失败：") + error, 1);
}

} // namespace mvx
