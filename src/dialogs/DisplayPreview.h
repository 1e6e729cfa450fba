#pragma once
// Where the display settings dialog shows its candidate look while it is open: the lesson
// pages restyled in place. Show may be called many times; End(false) puts the pages back
// exactly as they were before the first Show, End(true) keeps what is shown (a reload follows).
#include "core/AppState.h"

namespace mvx {

class DisplayPreview
{
public:
    virtual ~DisplayPreview() = default;
    virtual void Show(const DisplaySettings &candidate, bool nightLook) = 0;
    virtual void End(bool keep) = 0;
};

} // namespace mvx
