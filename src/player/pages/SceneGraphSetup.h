#pragma once
// Puts the scene-graph back end of the HTML views in place, once per process, before the
// first view exists: asks OpenGL which renderer it has (a throw-away context), weighs the
// MVX_SCENE_GRAPH variable and the SceneGraph setting, and selects Qt Quick's software
// back end where that is the choice. A QT_QUICK_BACKEND the learner set is left to Qt.
// QT_LOGGING_RULES="mvx.scenegraph.info=true" prints the decision and its reason.
#include "core/SceneGraphChoice.h"

namespace mvx::pages {

// The renderer string of a probe OpenGL context; contextMade false when none could be made.
[[nodiscard]] QString ProbeGlRenderer(bool *contextMade);
// The decision for this machine and this learner, without applying it.
[[nodiscard]] SceneGraphDecision DecideSceneGraphBackend();
// Decides and applies once (later calls return the first decision). Needs the application
// object; must run before the first HTML view is made.
const SceneGraphDecision &ChooseSceneGraphBackendOnce();

} // namespace mvx::pages
