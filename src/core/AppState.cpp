#include "AppState.h"

namespace mvx {

AppState &App()
{
    static AppState state;
    return state;
}

} // namespace mvx
