#pragma once
// Finds speech and pauses in a sound by its ~10 ms frames: the book maker places sentence
// boundaries with it, the excerpts pad their ends over quiet frames only.
// Finds sentence boundaries in speech from its pauses, for a transcript that has one
// sentence per line and no times. The sound is cut into ~10 ms frames; a frame is quiet
// when its level lies well below the loud parts (relative to the recording's own noise
// floor, so hiss and room tone do not hide the pauses). Of the pauses inside the speech
// the (count - 1) longest become boundaries, each placed inside its pause a little
// before the next sentence's speech, so every sentence ends with most of its pause.
#include <QList>
#include <QString>
#include <algorithm>
#include <span>
#include <vector>

namespace mvx {

struct SentenceTimes
{
    qint64 startMs = 0;
    qint64 endMs = 0;
};

// A pause inside the speech: [startMs, endMs).
struct PauseSpan
{
    qint64 startMs = 0;
    qint64 endMs = 0;
    [[nodiscard]] qint64 length() const { return endMs - startMs; }
};

struct SilenceResult
{
    QList<SentenceTimes> sentences; // count entries on success
    int pausesFound = 0;            // pauses long enough to count
    QString error;                  // non-empty when count sentences cannot be placed
};

class SilenceDetector final
{
public:
    static constexpr int FrameMs = 10;
    static constexpr int MinPauseMs = 120;  // shorter gaps are breaths or stops inside words
    static constexpr int LeadMs = 150;      // a sentence starts this long before its speech

    // samples: mono, any scale (peak 1.0 typical); sampleRate > 0; count >= 1.
    [[nodiscard]] static SilenceResult split(std::span<const float> samples, int sampleRate, int count);
    // The same from the mean square of every frame of about 10 ms (so long sounds need not
    // be kept in memory): frameMs is the exact frame length (sampleRate / 100 samples),
    // durationMs the whole sound's length.
    [[nodiscard]] static SilenceResult split(const std::vector<double> &frameEnergies, double frameMs,
                                             qint64 durationMs, int count);
    // Every pause of at least MinPauseMs between the first and the last speech, in time order;
    // empty when the sound holds no speech that stands out from its noise floor.
    [[nodiscard]] static QList<PauseSpan> findPauses(const std::vector<double> &frameEnergies, double frameMs);
    // Which frames are speech, by the same thresholds (relative to the frames' own noise floor
    // and loud parts); all false when nothing stands out.
    [[nodiscard]] static std::vector<bool> speechFrames(const std::vector<double> &frameEnergies);
    // Where a sentence boundary goes inside a pause: a little before the next speech.
    [[nodiscard]] static qint64 boundaryIn(const PauseSpan &pause)
    {
        return pause.endMs - std::min<qint64>(LeadMs, pause.length() / 2);
    }
    // Frames of sampleRate / 100 samples: their exact length in ms, and the mean square of each.
    [[nodiscard]] static int frameSamples(int sampleRate) { return sampleRate >= 100 ? sampleRate / 100 : 1; }
    [[nodiscard]] static std::vector<double> frameEnergies(std::span<const float> samples, int sampleRate);
};

} // namespace mvx
