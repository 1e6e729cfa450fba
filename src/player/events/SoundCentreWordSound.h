#pragma once
// WordSoundPort over the sound centre: the word's sound is written to
// "alltmpfile/tmpeword.wav" and played once by the shared word-sound player.
#include "player/events/WordSoundPort.h"

namespace mvx {

class SoundCentreWordSound final : public WordSoundPort
{
public:
    bool Speak(const QString &word) override;
    void Beep() override;
};

} // namespace mvx
