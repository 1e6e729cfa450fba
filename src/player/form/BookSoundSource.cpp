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

} // namespace mvx
