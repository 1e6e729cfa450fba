#pragma once
// How many page and sound waits run in this process. Windows that open on their own (usage
// tips, notices) hold off while one runs, so they never start a modal loop inside a wait.
namespace mvx::WaitMark {

inline int &Depth()
{
    static int depth = 0;
    return depth;
}
inline bool Running() { return Depth() > 0; }
inline void Enter() { ++Depth(); }
inline void Leave() { --Depth(); }

} // namespace mvx::WaitMark
