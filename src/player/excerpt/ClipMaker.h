#pragma once
// The one sound path of every excerpt (F9, the memoriser's copy, sentence cards, the whole
// lesson): a stretch of the lesson's sound cut at 22050 Hz mono, a whole sentence padded
// over its quiet frames, levelled, and encoded as a 96 kbit/s MP3.
#include "libs/sentra/StretchCutter.h"
#include "player/excerpt/Padding.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace mvx::sentra {
class SentraBook;
}

namespace mvx::excerpt {

inline constexpr int ClipRate = 22050;
inline constexpr int ClipKbps = 96;

// Where the lesson sound comes from: a book object, or an open book's handle.
class LessonStretches
{
public:
    virtual ~LessonStretches() = default;
    virtual bool Cut(int lessonNo, qint64 startMs, qint64 endMs, std::vector<qint16> &samples, QString *error) = 0;
    [[nodiscard]] virtual qint64 SoundMs(int lessonNo) = 0; // -1 when it cannot be decoded
};

class BookStretches final : public LessonStretches
{
public:
    explicit BookStretches(sentra::SentraBook &book) : m_book(book) {}
    bool Cut(int lessonNo, qint64 startMs, qint64 endMs, std::vector<qint16> &samples, QString *error) override;
    [[nodiscard]] qint64 SoundMs(int lessonNo) override;

private:
    sentra::SentraBook &m_book;
    sentra::StretchCutter m_cutter;
};

class HandleStretches final : public LessonStretches
{
public:
    explicit HandleStretches(int bookHandle) : m_handle(bookHandle) {}
    bool Cut(int lessonNo, qint64 startMs, qint64 endMs, std::vector<qint16> &samples, QString *error) override;
    [[nodiscard]] qint64 SoundMs(int lessonNo) override;

private:
    int m_handle;
};

struct Clip
{
    MsRange range;                // what the clip holds, in the lesson's sound
    std::vector<qint16> samples;  // levelled, 22050 Hz mono
};

// A whole sentence widened by up to padMs of quiet at each end.
bool SentenceClip(LessonStretches &source, int lessonNo, MsRange sentence, int padMs, Clip &clip, QString *error);
// An exact stretch (a repeated part, the whole lesson), not padded.
bool StretchClip(LessonStretches &source, int lessonNo, MsRange stretch, Clip &clip, QString *error);
bool EncodeClip(const Clip &clip, QByteArray &mp3, QString *error);

} // namespace mvx::excerpt
