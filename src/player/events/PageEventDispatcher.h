#pragma once
// The destination of the lesson pages' six sinks: each named method reads the event being
// handled from the lesson pages and hands it to the page-event handling. Bind it with
// LessonPages::SetEventDestination(dispatcher, player).
#include <QObject>

namespace mvx::pages {
class LessonPages;
} // namespace mvx::pages

namespace mvx {

class PageEventHandler;

class PageEventDispatcher final : public QObject
{
    Q_OBJECT
public:
    PageEventDispatcher(pages::LessonPages &pages, PageEventHandler &handler, QObject *parent = nullptr);

    Q_INVOKABLE void ScriptHtmlEventHandler();
    Q_INVOKABLE void EHtmlEventHandler();
    Q_INVOKABLE void CHtmlEventHandler();
    Q_INVOKABLE void CmtHtmlEventHandler();
    Q_INVOKABLE void ECurSentenceHtmlEventHandler();
    Q_INVOKABLE void CCurSentenceHtmlEventHandler();

private:
    void Forward();

    pages::LessonPages &m_pages;
    PageEventHandler &m_handler;
};

} // namespace mvx
