#pragma once
// The player's sentence sounds from the real libraries: the sentence-book library cuts
// a sentence's sound into basePath + ".wav", the common library makes and opens its
// waveform digest (step 40 ms).
#include "player/playback/SentenceSoundSource.h"

namespace mvx {

class BookSoundSource final : public SentenceSoundSource
{
public:
    bool MakeSentenceSound(int bookHandle, int noInAll, const QString &basePath) override;
    int MakeAndOpenDigest(const QString &waveFile, const QString &digestFile) override;
    void CloseDigest(int handle) override;
};

} // namespace mvx
