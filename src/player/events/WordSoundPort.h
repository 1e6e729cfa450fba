#pragma once
// Speaking a word (Alt+click) and the system beep (refused clicks).
#include <QString>

namespace mvx {

class WordSoundPort
{
public:
    virtual ~WordSoundPort() = default;
    // Plays the word's sound once; false when there is none.
    virtual bool Speak(const QString &word) = 0;
    virtual void Beep() = 0;
};

} // namespace mvx
