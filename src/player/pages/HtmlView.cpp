#include "player/pages/HtmlView.h"

#include "core/WaitMark.h"
#include "player/pages/LessonWebPage.h"
#include "player/pages/PageBridge.h"
#include "player/pages/SceneGraphSetup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace mvx::pages {

namespace {

QString readResource(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        qWarning("lesson view: resource %s is missing", qPrintable(path));
        return {};
    }
    return QString::fromUtf8(f.readAll());
}

bool isInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

// The scene-graph back end must be settled before the engine and its first view exist.
QWidget *AfterSceneGraphChoice(QWidget *parent)
{
    ChooseSceneGraphBackendOnce();
    return parent;
}

} // namespace

QString HtmlView::AgentSource()
{
    static const QString source = readResource(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + QLatin1Char('\n')
                                  + readResource(QStringLiteral(":/mvxpages/PageAgent.js"));
    return source;
}

HtmlView::HtmlView(QWidget *parent)
    : QWebEngineView(AfterSceneGraphChoice(parent))
{
    // A private, memory-only profile: pages of one lesson never come from an earlier cache.
    auto *profile = new QWebEngineProfile(this);
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);

    QWebEngineScript agent;
    agent.setName(QStringLiteral("mvx-page-agent"));
    agent.setSourceCode(AgentSource());
    agent.setInjectionPoint(QWebEngineScript::DocumentCreation);
    agent.setWorldId(QWebEngineScript::MainWorld);
    agent.setRunsOnSubFrames(true);
    profile->scripts()->insert(agent);

    m_page = new LessonWebPage(profile, this);
    QWebEngineSettings *s = m_page->settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);

    m_bridge = new PageBridge(this);
    m_channel = new QWebChannel(this);
    m_channel->registerObject(QStringLiteral("mvxBridge"), m_bridge);
    m_page->setWebChannel(m_channel);
    setPage(m_page);
    setAllowedFolders({QDir::currentPath()});
}

HtmlView::~HtmlView()
{
    // The page must go before its profile (a child of this view, deleted after).
    setPage(nullptr);
    delete m_page;
    m_page = nullptr;
}

void HtmlView::setAllowedFolders(const QStringList &folders)
{
    m_page->policy().setAllowedFolders(folders);
}

bool HtmlView::eventFilter(QObject *watched, QEvent *event)
{
    if (m_waiting && isInputEvent(event->type())) {
        // Learner input waits out the page: nothing re-enters the player meanwhile, and the
        // input is delivered, in order, once the wait ends.
        m_deferred.push_back({QPointer<QObject>(watched), std::unique_ptr<QEvent>(event->clone())});
        return true;
    }
    return QWebEngineView::eventFilter(watched, event);
}

bool HtmlView::waitFor(const std::function<bool()> &done, int timeoutMs)
{
    if (done()) {
        return true;
    }
    QEventLoop loop;
    bool timedOut = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    m_loop = &loop;
    m_waiting = true;
    WaitMark::Enter();
    qApp->installEventFilter(this);
    limit.start(timeoutMs);
    while (!done() && !timedOut) {
        loop.exec();
    }
    qApp->removeEventFilter(this);
    WaitMark::Leave();
    m_waiting = false;
    m_loop = nullptr;
    auto deferred = std::move(m_deferred);
    m_deferred.clear();
    for (auto &d : deferred) {
        if (d.first) {
            QCoreApplication::postEvent(d.first, d.second.release());
        }
    }
    return done();
}

void HtmlView::wake()
{
    if (m_loop) {
        m_loop->quit();
    }
}

bool HtmlView::loadAndWait(const QString &localFile, int timeoutMs, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error) {
            *error = text;
        }
        return false;
    };
    if (m_waiting) {
        return fail(tr("页面正在载入"));
    }
    const QFileInfo info(localFile);
    if (!info.isFile()) {
        return fail(tr("找不到页面文件 %1").arg(QDir::toNativeSeparators(localFile)));
    }
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    bool finished = false;
    bool ok = false;
    bool agentReady = false;
    const auto c1 = connect(m_page, &QWebEnginePage::loadFinished, this, [&](bool success) {
        finished = true;
        ok = success;
        wake();
    });
    const auto c2 = connect(m_bridge, &PageBridge::ready, this, [&](const QString &) {
        agentReady = true;
        wake();
    });
    setUrl(url);
    const bool done = waitFor([&] { return finished && (!ok || agentReady); }, timeoutMs);
    disconnect(c1);
    disconnect(c2);
    if (!done) {
        return fail(finished ? tr("页面脚本没有启动：%1").arg(QDir::toNativeSeparators(localFile))
                             : tr("页面载入超时：%1").arg(QDir::toNativeSeparators(localFile)));
    }
    if (!ok) {
        return fail(tr("页面载入失败：%1").arg(QDir::toNativeSeparators(localFile)));
    }
    return true;
}

void HtmlView::run(const QString &script, const std::function<void(const QVariant &)> &callback)
{
    if (callback) {
        m_page->runJavaScript(script, QWebEngineScript::MainWorld, callback);
    } else {
        m_page->runJavaScript(script, QWebEngineScript::MainWorld);
    }
}

QVariant HtmlView::runAndWait(const QString &script, int timeoutMs)
{
    if (m_waiting) {
        return {};
    }
    // The result lives on the heap: a late callback after a time-out must not write to a
    // finished stack frame.
    auto state = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    QPointer<HtmlView> self(this);
    m_page->runJavaScript(script, QWebEngineScript::MainWorld, [state, self](const QVariant &v) {
        state->first = true;
        state->second = v;
        if (self) {
            self->wake();
        }
    });
    waitFor([&] { return state->first; }, timeoutMs);
    return state->first ? state->second : QVariant();
}

} // namespace mvx::pages
