#pragma once
// How far a sound file's header may size a buffer before a byte of sound is read.
#include <QtGlobal>

namespace mvx {

// The header's frame count when the file's bytes could hold that much sound (no codec packs
// more than 32 samples into a byte), else 0: a damaged or hostile header may claim any length,
// so readers then grow their buffers as blocks are read.
[[nodiscard]] inline qint64 FramesWorthReserving(qint64 headerFrames, int channels, qint64 fileBytes)
{
    if (headerFrames <= 0 || channels < 1 || headerFrames >= (qint64(1) << 31) || fileBytes <= 0)
        return 0;
    return headerFrames * channels <= fileBytes * 32 ? headerFrames : 0;
}

} // namespace mvx
