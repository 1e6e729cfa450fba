#include "EchoMaxLib.h"

#include "WaveSegment.h"
#include "comm/DigestCache.h"

namespace mvx {

void vcEchomaxproNop()
{
}

int vcExtractWaveSeg(const QString &sourceWave, const QString &targetWave, int startMs, int endMs, int *workBuffer,
                     int workLength)
{
    Q_UNUSED(workBuffer);
    Q_UNUSED(workLength);
    return WaveSegment::Extract(sourceWave, targetWave, startMs, endMs) ? 1 : 0;
}

void vcSetVisualWaveDataMan(int on)
{
    SetKeepLastDigest(on != 0);
}

void vcCloseDigestFile()
{
    DropLastDigest();
}

} // namespace mvx
