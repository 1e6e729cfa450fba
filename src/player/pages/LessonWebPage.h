#pragma once
// The web page behind the lesson view: applies the navigation policy to every navigation of
// every frame, opens web links in the learner's browser, and turns the comment-edit marker
// address into a signal for the player. Pop-up windows are never created; a web address asked
// for in a new window is opened externally like a link.
#include "player/pages/NavigationPolicy.h"

#include <QWebEnginePage>
#include <functional>

namespace mvx::pages {

class LessonWebPage final : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit LessonWebPage(QWebEngineProfile *profile, QObject *parent = nullptr);

    NavigationPolicy &policy() { return m_policy; }
    // How web and mail addresses are opened; the desktop's programs by default.
    void setExternalOpener(std::function<void(const QUrl &)> opener);

signals:
    void navigationRefused(const QUrl &url);
    void openedExternally(const QUrl &url);
    void commentEditRequested(const QUrl &url);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                  const QString &source) override;

private:
    bool handle(const QUrl &url);

    NavigationPolicy m_policy;
    std::function<void(const QUrl &)> m_opener;
};

} // namespace mvx::pages
