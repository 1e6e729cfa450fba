#pragma once
// What the display switches need of the player window: reload the open lesson (with or
// without new pages) and tell the learner why a switch was refused.
#include <QString>

namespace mvx {

class LessonReloader
{
public:
    virtual ~LessonReloader() = default;
    virtual void ReloadLesson(bool regeneratePages) = 0;
    virtual void ShowMessage(const QString &text) = 0;
};

} // namespace mvx
