// A word-sound library's index file and the sound centre's look-up through it: every word
// of the index is looked up and its sound written to the one file asked for, or refused.
// The folder beside the index holds a good sound and a damaged one for entries to name.
#include "FuzzSupport.h"
#include "libs/comm/SoundCentre.h"
#include "libs/comm/SoundLibrary.h"

#include <QDir>

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    static const bool sounds = [] {
        QDir(fuzz::scratch()).mkpath(QStringLiteral("lib/snd"));
        QDir(fuzz::scratch()).mkpath(QStringLiteral("out"));
        fuzz::writeFile(QStringLiteral("lib/snd/hello.wav"), fuzz::toneWav(11025, 0.2));
        fuzz::writeFile(QStringLiteral("lib/snd/broken.wav"), fuzz::toneWav(11025, 0.2).left(30));
        return true;
    }();
    (void)sounds;
    const QString index = fuzz::writeFile(QStringLiteral("lib/index.txt"), fuzz::input(data, size));
    const QString dataFolder = fuzz::scratch() + QStringLiteral("/lib/snd");

    SoundLibrary library;
    const bool loaded = library.load(index, dataFolder, 1);
    FUZZ_CHECK(loaded || !library.errorText().isEmpty(), index);
    SoundCentre centre(22050, 1, nullptr);
    FUZZ_CHECK(centre.addLibrary(index, dataFolder, 1) == loaded, index);
    if (!loaded)
        return 0;

    const QString base = fuzz::scratch() + QStringLiteral("/out/word");
    const QDir out(fuzz::scratch() + QStringLiteral("/out"));
    QStringList words = fuzz::lines(fuzz::input(data, size)).mid(1, 16);
    words << QStringLiteral("hello") << QStringLiteral("Hello,");
    for (QString word : words) {
        word = word.section(QLatin1Char('\t'), 0, 0);
        FUZZ_CHECK(library.contains(word) || library.soundFileFor(word).isEmpty(), word);
        int ms = -1;
        const SoundCentre::Source from = centre.writeWordSound(word, base, &ms);
        const QStringList written = out.entryList(QDir::Files);
        if (from == SoundCentre::None) {
            FUZZ_CHECK(written.isEmpty() && ms == 0, word);
        } else {
            FUZZ_CHECK(from == SoundCentre::FromLibrary && written == QStringList{QStringLiteral("word.wav")}, word);
        }
    }
    return 0;
}
