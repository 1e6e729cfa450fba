#include "player/form/BookSoundSource.h"

#include "core/AppState.h"
#include "libs/comm/CommLib.h"
#include "libs/sentra/SentraFacade.h"
#include "player/playback/WaveWindow.h"

namespace mvx {

bool BookSoundSource::MakeSentenceSound(int bookHandle, int noInAll, const QString &basePath)
{
    int samples = 0;
    return bcSentence_MakeSndFile(bookHandle, noInAll, App().wordSoundCentre, 0, &samples, basePath, -1, 0) == 0;
}

int BookSoundSource::MakeAndOpenDigest(const QString &waveFile, const QString &digestFile)
{
    if (vcMakeWaveDigestFile(waveFile, digestFile, WaveWindow::DigestStepMs) != 1)
        return 0;
    return vcDigestFile_Open(digestFile);
}

void BookSoundSource::CloseDigest(int handle)
{
    vcDigestFile_Close(handle);
}

bool BookSoundSource::CanChangeTimes(int bookHandle)
{
    return bcSentraBook_IsWritable(bookHandle);
}

std::optional<std::pair<int, int>> BookSoundSource::HeardTimes(int bookHandle, int noInAll)
{
    int start = 0, end = 0;
    if (bcSentence_GetTimes(bookHandle, noInAll, nullptr, nullptr, &start, &end) != 0)
        return std::nullopt;
    return std::pair{start, end};
}

bool BookSoundSource::NudgeTimes(int bookHandle, int noInAll, bool endEdge, int deltaMs)
{
    return bcSentence_NudgeTime(bookHandle, noInAll, endEdge ? 1 : 0, deltaMs) == 0;
}

bool BookSoundSource::SetHeardTimes(int bookHandle, int noInAll, int startMs, int endMs)
{
    return bcSentence_SetHeardTimes(bookHandle, noInAll, startMs, endMs) == 0;
}

bool BookSoundSource::RestoreTimes(int bookHandle, int noInAll)
{
    return bcSentence_RestoreTimes(bookHandle, noInAll) == 0;
}

} // namespace mvx
