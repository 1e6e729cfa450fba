#pragma once
// Where the player gets a sentence's sound and waveform digest: the sentence-book library
// cuts the sentence's sound into a temporary wave file, the common library makes and
// opens its digest. Tests use a fake that writes small files of known length.
#include <QString>
#include <optional>
#include <utility>

namespace mvx {

class SentenceSoundSource
{
public:
    virtual ~SentenceSoundSource() = default;
    // Writes basePath + ".wav" with sentence noInAll (its number in the whole book) of the
    // open book. Returns false when the book or the sentence has no sound.
    virtual bool MakeSentenceSound(int bookHandle, int noInAll, const QString &basePath) = 0;
    // Makes the digest of waveFile into digestFile (step 40 ms) and opens it. Returns a
    // handle > 0, or 0 when no digest could be made.
    virtual int MakeAndOpenDigest(const QString &waveFile, const QString &digestFile) = 0;
    virtual void CloseDigest(int handle) = 0;

    // The learner's timing nudges of a sentence, kept in the book. The heard times are the
    // span every cut plays. A source without a book to keep them in refuses every change.
    [[nodiscard]] virtual bool CanChangeTimes(int /*bookHandle*/) { return false; }
    [[nodiscard]] virtual std::optional<std::pair<int, int>> HeardTimes(int /*bookHandle*/, int /*noInAll*/)
    {
        return std::nullopt;
    }
    // Moves the start (endEdge false) or the end by deltaMs, held in the sentence's limits.
    virtual bool NudgeTimes(int /*bookHandle*/, int /*noInAll*/, bool /*endEdge*/, int /*deltaMs*/) { return false; }
    virtual bool SetHeardTimes(int /*bookHandle*/, int /*noInAll*/, int /*startMs*/, int /*endMs*/) { return false; }
    virtual bool RestoreTimes(int /*bookHandle*/, int /*noInAll*/) { return false; }
};

} // namespace mvx
