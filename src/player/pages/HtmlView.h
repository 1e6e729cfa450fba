#pragma once
// The lesson player's HTML view (wbScript): a QWebEngineView whose page injects the page agent
// into every frame, opens a QWebChannel to a PageBridge, and keeps navigation to the program's
// own pages (see LessonWebPage). Local pages are loaded by QUrl::fromLocalFile, so paths with
// spaces, "#", "%" or Chinese work.
//
// Waits (loadAndWait, runAndWait) run a local event loop that holds learner input back until
// the wait ends (then delivers it in order) and are bounded by a time-out; a wait asked for while another one runs fails
// at once instead of nesting. Owners must also not start timers' work while isWaiting().
#include "player/pages/PageHost.h"

#include <QPointer>
#include <QWebEngineView>
#include <memory>
#include <utility>
#include <vector>

class QWebChannel;
class QEventLoop;

namespace mvx::pages {

class LessonWebPage;

class HtmlView final : public QWebEngineView, public PageHost
{
    Q_OBJECT
public:
    explicit HtmlView(QWidget *parent = nullptr);
    ~HtmlView() override;

    // The folders whose pages the view may show (default: the current folder, the home).
    void setAllowedFolders(const QStringList &folders);
    [[nodiscard]] LessonWebPage *lessonPage() const { return m_page; }

    bool loadAndWait(const QString &localFile, int timeoutMs, QString *error) override;
    [[nodiscard]] bool isWaiting() const override { return m_waiting; }
    void run(const QString &script, const std::function<void(const QVariant &)> &callback = {}) override;
    QVariant runAndWait(const QString &script, int timeoutMs) override;
    [[nodiscard]] PageBridge *bridge() const override { return m_bridge; }

    // The agent's source as injected (qwebchannel.js followed by the agent).
    [[nodiscard]] static QString AgentSource();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs loop until done() is true or timeoutMs passed; input is filtered out meanwhile.
    bool waitFor(const std::function<bool()> &done, int timeoutMs);
    void wake(); // ends the running wait's loop turn so it checks its condition again

    LessonWebPage *m_page = nullptr;
    QWebChannel *m_channel = nullptr;
    PageBridge *m_bridge = nullptr;
    QEventLoop *m_loop = nullptr;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_deferred; // input held during a wait
    bool m_waiting = false;
};

} // namespace mvx::pages
