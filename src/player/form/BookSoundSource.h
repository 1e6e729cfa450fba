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
    [[nodiscard]] bool CanChangeTimes(int bookHandle) override;
    [[nodiscard]] std::optional<std::pair<int, int>> HeardTimes(int bookHandle, int noInAll) override;
    bool NudgeTimes(int bookHandle, int noInAll, bool endEdge, int deltaMs) override;
    bool SetHeardTimes(int bookHandle, int noInAll, int startMs, int endMs) override;
    bool RestoreTimes(int bookHandle, int noInAll) override;
};

} // namespace mvx
