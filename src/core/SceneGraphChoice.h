#pragma once
// Which scene-graph back end the HTML views use. Rendering the window through OpenGL costs
// a whole core when OpenGL itself is done by the processor (llvmpipe, softpipe, SwiftShader,
// or no context at all), so there the views draw with Qt Quick's software back end; a real
// GPU keeps hardware rendering. The learner can force either way with the environment
// variable MVX_SCENE_GRAPH or the setting SceneGraph ("software" or "hardware"); the
// variable wins over the setting, and anything else means "decide by the renderer".
#include <QString>

namespace mvx {

enum class SceneGraphBackend { Hardware, Software };

enum class SceneGraphOverride { Auto, Software, Hardware };

struct SceneGraphDecision
{
    SceneGraphBackend backend = SceneGraphBackend::Hardware;
    QString reason; // one line for the log: what decided it
};

// "software" / "hardware" (also "opengl" and "gpu"), case and spaces ignored; else Auto.
[[nodiscard]] SceneGraphOverride ParseSceneGraphOverride(const QString &value);
// True when an OpenGL renderer string names a processor-side rasteriser.
[[nodiscard]] bool IsSoftwareGlRenderer(const QString &renderer);
// renderer: GL_RENDERER of a probe context; contextMade false when none could be made.
[[nodiscard]] SceneGraphDecision ChooseSceneGraphBackend(const QString &renderer, bool contextMade,
                                                         const QString &environmentValue,
                                                         const QString &settingValue);

} // namespace mvx
