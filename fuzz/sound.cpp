// Sound input: the player's decoder (whole file into memory) and the book maker's decoder
// (length and loudness in one pass). Any bytes give a sound or a message, never a crash,
// and neither trusts a header's length beyond what the file holds.
#include "FuzzSupport.h"
#include "libs/bookmaker/AudioDecoder.h"
#include "libs/media/DecodedSound.h"

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
    return 0;
}
