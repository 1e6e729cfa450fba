#include "player/events/PageEventDispatcher.h"

#include "player/events/PageEventHandler.h"
#include "player/pages/LessonPages.h"

namespace mvx {

PageEventDispatcher::PageEventDispatcher(pages::LessonPages &pages, PageEventHandler &handler, QObject *parent)
    : QObject(parent), m_pages(pages), m_handler(handler)
{
}

void PageEventDispatcher::Forward()
{
    // The sink name travels with the event, so every method hands on the same way. A copy:
    // an event handled inside this one replaces the pages' current event.
    const pages::PageEvent event = m_pages.CurrentEvent();
    m_handler.Handle(event);
}

void PageEventDispatcher::ScriptHtmlEventHandler() { Forward(); }
void PageEventDispatcher::EHtmlEventHandler() { Forward(); }
void PageEventDispatcher::CHtmlEventHandler() { Forward(); }
void PageEventDispatcher::CmtHtmlEventHandler() { Forward(); }
void PageEventDispatcher::ECurSentenceHtmlEventHandler() { Forward(); }
void PageEventDispatcher::CCurSentenceHtmlEventHandler() { Forward(); }

} // namespace mvx
