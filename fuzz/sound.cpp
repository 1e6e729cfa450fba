// Sound input: the player's decoder (whole file into memory), the book maker's decoder
// (length and loudness in one pass), the mono readers behind word sounds and waveforms and
// behind sentence MP3s. Any bytes give a sound or a message, never a crash, and none trusts
// a header's length beyond what the file holds.
#include "FuzzSupport.h"
#include "comm/SoundIo.h"
#include "libs/bookmaker/AudioDecoder.h"
#include "libs/media/DecodedSound.h"
#include "libs/sentra/SoundFiles.h"

#include <algorithm>

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    // Named as a learner's file of that kind would be (the book maker goes by the name).
    const QByteArray bytes = fuzz::input(data, size);
    const char *name = bytes.startsWith("fLaC") ? "input.flac"
                       : bytes.startsWith("OggS") ? "input.ogg"
                       : bytes.startsWith("ID3") || (size > 1 && data[0] == 0xFF && (data[1] & 0xE0) == 0xE0)
                           ? "input.mp3"
                           : "input.wav";
    const QString path = fuzz::writeFile(QLatin1String(name), bytes);

    QString error;
    const auto sound = DecodedSound::load(path, &error);
    if (sound) {
        FUZZ_CHECK(sound->frames() > 0 && (sound->channels() == 1 || sound->channels() == 2), path);
        FUZZ_CHECK(sound->samples().size() == size_t(sound->frames()) * size_t(sound->channels()), path);
    } else {
        FUZZ_CHECK(!error.isEmpty(), path);
    }

    const DecodedAudio audio = AudioDecoder::decode(path);
    if (audio.error.isEmpty())
        FUZZ_CHECK(audio.durationMs >= 0 && audio.sampleRate > 0, path);
    else
        FUZZ_CHECK(audio.frameEnergies.empty(), audio.error);

    // A buffer is never far beyond what was decoded or what the file's bytes could hold.
    const qint64 bound = 64 * qint64(size) + 65536;
    MonoSound mono;
    if (SoundIo::ReadMono(path, mono))
        FUZZ_CHECK(mono.samples.capacity() <= std::max<qint64>(bound, 2 * mono.samples.size()), path);
    std::vector<qint16> samples;
    int rate = 0;
    if (sentra::SoundFiles::readMono16(path, samples, &rate))
        FUZZ_CHECK(qint64(samples.capacity()) <= std::max<qint64>(bound, 2 * qint64(samples.size())), path);
    return 0;
}
