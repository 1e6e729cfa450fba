#pragma once
// Finds sentence boundaries in speech from its pauses, for a transcript that has one
// sentence per line and no times. The sound is cut into 10 ms frames; a frame is quiet
// when its level lies well below the loud parts (relative to the recording's own noise
// floor, so hiss and room tone do not hide the pauses). Of the pauses inside the speech
// the (count - 1) longest become boundaries, each placed inside its pause a little
// before the next sentence's speech, so every sentence ends with most of its pause.
#include <QList>
#include <QString>
#include <span>

namespace mvx {

struct SentenceTimes
{
    qint64 startMs = 0;
    qint64 endMs = 0;
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
};

} // namespace mvx
