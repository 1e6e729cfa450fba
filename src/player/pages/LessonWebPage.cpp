#include "player/pages/LessonWebPage.h"

#include <QDesktopServices>
#include <QWebEngineNewWindowRequest>

namespace mvx::pages {

LessonWebPage::LessonWebPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
    , m_opener([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
    connect(this, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest &request) {
        // No second window: the address is judged as a link would be, and nothing opens here.
        handle(request.requestedUrl());
    });
}

void LessonWebPage::setExternalOpener(std::function<void(const QUrl &)> opener)
{
    m_opener = std::move(opener);
}

bool LessonWebPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool)
{
    return handle(url);
}

bool LessonWebPage::handle(const QUrl &url)
{
    switch (m_policy.decide(url)) {
    case NavigationPolicy::Decision::Allow:
        return true;
    case NavigationPolicy::Decision::OpenExternally:
        if (m_opener) {
            m_opener(url);
        }
        emit openedExternally(url);
        return false;
    case NavigationPolicy::Decision::CommentEdit:
        emit commentEditRequested(url);
        return false;
    case NavigationPolicy::Decision::Refuse:
        break;
    }
    emit navigationRefused(url);
    return false;
}

void LessonWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                             const QString &source)
{
    // Agent errors are worth seeing while developing; the learner never sees the console.
    if (level == ErrorMessageLevel) {
        qWarning("page script: %s (%s:%d)", qPrintable(message), qPrintable(source), line);
    }
}

} // namespace mvx::pages
