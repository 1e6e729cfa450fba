#include "core/SceneGraphChoice.h"

namespace mvx {

SceneGraphOverride ParseSceneGraphOverride(const QString &value)
{
    const QString v = value.trimmed().toLower();
    if (v == QLatin1String("software"))
        return SceneGraphOverride::Software;
    if (v == QLatin1String("hardware") || v == QLatin1String("opengl") || v == QLatin1String("gpu"))
        return SceneGraphOverride::Hardware;
    return SceneGraphOverride::Auto;
}

bool IsSoftwareGlRenderer(const QString &renderer)
{
    static const char *const rasterisers[] = {"llvmpipe", "softpipe", "swiftshader", "software rasterizer",
                                              "swrast"};
    for (const char *name : rasterisers)
        if (renderer.contains(QLatin1String(name), Qt::CaseInsensitive))
            return true;
    return false;
}

SceneGraphDecision ChooseSceneGraphBackend(const QString &renderer, bool contextMade,
                                           const QString &environmentValue, const QString &settingValue)
{
    const auto forced = [](SceneGraphOverride o, const char *source) -> SceneGraphDecision {
        const bool software = o == SceneGraphOverride::Software;
        return {software ? SceneGraphBackend::Software : SceneGraphBackend::Hardware,
                QStringLiteral("%1 forced by %2").arg(software ? "software" : "hardware", source)};
    };
    if (const auto env = ParseSceneGraphOverride(environmentValue); env != SceneGraphOverride::Auto)
        return forced(env, "MVX_SCENE_GRAPH");
    if (const auto setting = ParseSceneGraphOverride(settingValue); setting != SceneGraphOverride::Auto)
        return forced(setting, "the SceneGraph setting");
    if (!contextMade)
        return {SceneGraphBackend::Software, QStringLiteral("software: no OpenGL context could be made")};
    if (renderer.trimmed().isEmpty())
        return {SceneGraphBackend::Software, QStringLiteral("software: OpenGL names no renderer")};
    if (IsSoftwareGlRenderer(renderer))
        return {SceneGraphBackend::Software, QStringLiteral("software: OpenGL is rendered by the processor (%1)").arg(renderer)};
    return {SceneGraphBackend::Hardware, QStringLiteral("hardware: %1").arg(renderer)};
}

} // namespace mvx
