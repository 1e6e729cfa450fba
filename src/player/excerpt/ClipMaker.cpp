#include "player/excerpt/ClipMaker.h"

#include "libs/sentra/SentraBook.h"
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SentraFacadeSound.h"
#include "libs/sentra/SoundFiles.h"
#include "player/excerpt/Levelling.h"

namespace mvx::excerpt {

namespace {

void SetError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

bool BookStretches::Cut(int lessonNo, qint64 startMs, qint64 endMs, std::vector<qint16> &samples, QString *error)
{
    return m_cutter.cut(m_book, lessonNo, startMs, endMs, samples, error);
}

qint64 BookStretches::SoundMs(int lessonNo)
{
    return m_cutter.soundMs(m_book, lessonNo);
}

bool HandleStretches::Cut(int lessonNo, qint64 startMs, qint64 endMs, std::vector<qint16> &samples, QString *error)
{
    if (bcSentraBook_CutStretch(m_handle, lessonNo, startMs, endMs, samples) == 0)
        return true;
    SetError(error, QStringLiteral("课文的声音无法解码"));
    return false;
}

qint64 HandleStretches::SoundMs(int lessonNo)
{
    return bcSentraBook_GetSoundLength(m_handle, lessonNo);
}

bool SentenceClip(LessonStretches &source, int lessonNo, MsRange sentence, int padMs, Clip &clip, QString *error)
{
    const qint64 soundMs = source.SoundMs(lessonNo);
    if (soundMs < 0 || sentence.endMs <= sentence.startMs) {
        SetError(error, QStringLiteral("课文的声音无法解码"));
        return false;
    }
    const MsRange stretch = PadStretch(sentence, padMs, soundMs);
    std::vector<qint16> cut;
    if (!source.Cut(lessonNo, stretch.startMs, stretch.endMs, cut, error))
        return false;
    MsRange range = sentence;
    if (padMs > 0) {
        const SpeechFlags speech = SpeechAround(cut, stretch, sentence);
        range = PadRange(sentence, padMs, soundMs, speech.before, speech.after);
    }
    const qint64 from = SampleAt(range.startMs) - SampleAt(stretch.startMs);
    const qint64 to = from + SampleAt(range.endMs) - SampleAt(range.startMs);
    if (from < 0 || to > qint64(cut.size())) {
        SetError(error, QStringLiteral("课文的声音无法解码"));
        return false;
    }
    clip.range = range;
    clip.samples = Levelled(std::vector<qint16>(cut.begin() + from, cut.begin() + to), ClipRate);
    return true;
}

bool StretchClip(LessonStretches &source, int lessonNo, MsRange stretch, Clip &clip, QString *error)
{
    std::vector<qint16> cut;
    if (stretch.endMs <= stretch.startMs || !source.Cut(lessonNo, stretch.startMs, stretch.endMs, cut, error)) {
        if (error && error->isEmpty())
            *error = QStringLiteral("这一段声音是空的");
        return false;
    }
    clip.range = stretch;
    clip.samples = Levelled(cut, ClipRate);
    return true;
}

bool EncodeClip(const Clip &clip, QByteArray &mp3, QString *error)
{
    return sentra::SoundFiles::encodeMp3(clip.samples, ClipRate, ClipKbps, mp3, error);
}

} // namespace mvx::excerpt
