// Facade of the sound side: sound centres, waveform digests and MP3 encoding.
#include "CommLib.h"
#include "DigestCache.h"
#include "DigestRenderer.h"
#include "HandleTable.h"
#include "Mp3Encoder.h"
#include "SoundCentre.h"
#include "SoundIo.h"
#include "SpeechEngine.h"
#include "WaveDigest.h"
#include "core/Helpers.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace mvx {

namespace {

HandleTable<SoundCentre> &Centres()
{
    static HandleTable<SoundCentre> table;
    return table;
}

HandleTable<const WaveDigest> &Digests()
{
    static HandleTable<const WaveDigest> table;
    return table;
}

struct LastDigest
{
    bool keep = false;
    QString path;
    QDateTime modified;
    qint64 size = -1;
    std::shared_ptr<const WaveDigest> digest;
};

LastDigest &Last()
{
    static LastDigest last;
    return last;
}

QString AbsoluteFsPath(const QString &path)
{
    return QFileInfo(ToFsPath(path)).absoluteFilePath();
}

} // namespace

void SetKeepLastDigest(bool on)
{
    Last().keep = on;
    if (!on)
        DropLastDigest();
}

void DropLastDigest()
{
    Last().digest.reset();
    Last().path.clear();
}

int vcSndCenter_Open(int device, int bitsPerSample, int sampleRate, int channels)
{
    Q_UNUSED(device);
    if (bitsPerSample != 16 && bitsPerSample > 0)
        return 0;
    if (sampleRate <= 0)
        sampleRate = 22050;
    if (channels <= 0)
        channels = 1;
    if (sampleRate < 4000 || sampleRate > 192000 || channels > 2)
        return 0;
    return Centres().add(std::make_shared<SoundCentre>(sampleRate, channels, &SpeechEngine::instance()));
}

void vcSndCenter_Close(int handle)
{
    Centres().remove(handle);
}

int vcSndCenter_AddSndLib(int handle, const QString &indexFile, const QString &dataFolder, int kind)
{
    SoundCentre *centre = Centres().find(handle);
    return centre && centre->addLibrary(indexFile, dataFolder, kind) ? 1 : 0;
}

int vcSndCenter_GetSndFile(int handle, const QString &word, int flags, const QString &basePath, int reserved1,
                           int reserved2, int &outLengthMs, const QString &reserved3)
{
    Q_UNUSED(flags);
    Q_UNUSED(reserved1);
    Q_UNUSED(reserved2);
    Q_UNUSED(reserved3);
    outLengthMs = 0;
    SoundCentre *centre = Centres().find(handle);
    if (!centre)
        return -1;
    return int(centre->writeWordSound(word, basePath, &outLengthMs));
}

int vcSndCenter_IsTtsAvailable(int handle)
{
    const SoundCentre *centre = Centres().find(handle);
    return centre && centre->ttsAvailable() ? 1 : 0;
}

int vcSndCenter_SetTtsVoiceName(int handle, QString &voiceName)
{
    SoundCentre *centre = Centres().find(handle);
    if (!centre || !centre->ttsAvailable())
        return 0;
    const QString used = centre->setVoice(voiceName);
    if (used.isEmpty())
        return 0;
    voiceName = used;
    return 1;
}

QStringList vcSndCenter_GetTtsVoiceList(int handle)
{
    const SoundCentre *centre = Centres().find(handle);
    return centre ? centre->voiceNames() : QStringList();
}

int vcMakeWaveDigestFile(const QString &waveFile, const QString &digestFile, int stepMs)
{
    const QString target = AbsoluteFsPath(digestFile);
    if (Last().path == target)
        DropLastDigest();
    MonoSound sound;
    auto digest = std::make_shared<WaveDigest>();
    if (!SoundIo::ReadMono(waveFile, sound)
        || !(*digest = WaveDigest::FromSamples(sound.samples, sound.sampleRate, stepMs)).save(target)) {
        QFile::remove(target); // never leave the previous sound's digest under this name
        return 0;
    }
    if (Last().keep) {
        const QFileInfo info(target);
        Last().path = target;
        Last().modified = info.lastModified();
        Last().size = info.size();
        Last().digest = std::move(digest);
    }
    return 1;
}

int vcDigestFile_Open(const QString &digestFile)
{
    const QString path = AbsoluteFsPath(digestFile);
    const LastDigest &last = Last();
    if (last.digest && last.path == path) {
        const QFileInfo info(path);
        if (info.exists() && info.lastModified() == last.modified && info.size() == last.size)
            return Digests().add(last.digest);
    }
    auto digest = std::make_shared<WaveDigest>();
    if (!digest->load(path))
        return 0;
    return Digests().add(std::move(digest));
}

void vcDigestFile_Close(int handle)
{
    Digests().remove(handle);
}

int vcDigestFile_Draw(int handle, QPainter *painter, int heightPx, int widthPx, int windowStartMs, int windowRatio,
                      int stepMs)
{
    Q_UNUSED(stepMs); // the digest keeps finer peaks than any step
    const WaveDigest *digest = Digests().find(handle);
    if (!digest || !painter)
        return 0;
    return DigestRenderer::Draw(*painter, *digest, heightPx, widthPx, windowStartMs, windowRatio) ? 1 : 0;
}

int vcEncodeWavToMp3(const QString &waveFile, const QString &mp3File, int kbps)
{
    return Mp3Encoder::Encode(waveFile, mp3File, kbps) ? 1 : 0;
}

} // namespace mvx
