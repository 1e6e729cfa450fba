#include "player/pages/SceneGraphSetup.h"

#include "core/UserSettings.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QLoggingCategory>
#include <QQuickWindow>

namespace mvx::pages {

Q_LOGGING_CATEGORY(lcSceneGraph, "mvx.scenegraph", QtWarningMsg)

QString ProbeGlRenderer(bool *contextMade)
{
    *contextMade = false;
    QOpenGLContext context;
    if (!context.create())
        return {};
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return {};
    *contextMade = true;
    const auto *name = reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
    const QString renderer = QString::fromLatin1(name ? name : "");
    context.doneCurrent();
    return renderer;
}

SceneGraphDecision DecideSceneGraphBackend()
{
    const QString environment = qEnvironmentVariable("MVX_SCENE_GRAPH");
    const QString setting = GetUserSetting(QString::fromLatin1(Key::SceneGraph), QString());
    // An override settles it without touching OpenGL at all.
    if (ParseSceneGraphOverride(environment) != SceneGraphOverride::Auto
        || ParseSceneGraphOverride(setting) != SceneGraphOverride::Auto)
        return ChooseSceneGraphBackend(QString(), true, environment, setting);
    bool made = false;
    const QString renderer = ProbeGlRenderer(&made);
    return ChooseSceneGraphBackend(renderer, made, environment, setting);
}

const SceneGraphDecision &ChooseSceneGraphBackendOnce()
{
    static const SceneGraphDecision decision = [] {
        if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") || qEnvironmentVariableIsSet("QSG_RHI_BACKEND")) {
            const bool software = qEnvironmentVariable("QT_QUICK_BACKEND") == QLatin1String("software");
            return SceneGraphDecision{software ? SceneGraphBackend::Software : SceneGraphBackend::Hardware,
                                      QStringLiteral("left to QT_QUICK_BACKEND / QSG_RHI_BACKEND")};
        }
        SceneGraphDecision d = DecideSceneGraphBackend();
        if (d.backend == SceneGraphBackend::Software)
            QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        qCInfo(lcSceneGraph, "scene graph: %s", qPrintable(d.reason));
        return d;
    }();
    return decision;
}

} // namespace mvx::pages
