#pragma once
// Fixtures for the sentence-book tests: lesson sounds made on the spot (WAV written with
// libsndfile, MP3 encoded by libsndfile's LAME writer) and small books made with the C++ API.
#include "libs/sentra/SentraBook.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtTest>

#include <sndfile.h>

#include <cmath>
#include <vector>

namespace fixtures {

inline QString tmpDir()
{
    const QString d = qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath());
    QDir().mkpath(d);
    return d;
}

// The bytes of a scratch file the fixture wrote; the file is removed.
inline QByteArray takeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read back %s", qPrintable(path));
    const QByteArray bytes = file.readAll();
    file.close();
    QFile::remove(path);
    return bytes;
}

// A sound whose every sample is known: a sum of two tones whose pitch rises with time, so a
// stretch cut from the wrong place does not match. Samples of channel c are scaled by (1 - c/4).
inline float toneSample(qint64 frame, int rate, int channel)
{
    const double t = double(frame) / rate;
    const double f = 180.0 + 40.0 * t;
    const double v = 0.45 * std::sin(2 * M_PI * f * t) + 0.25 * std::sin(2 * M_PI * 3.1 * f * t + 0.7);
    return float(v * (1.0 - channel / 4.0));
}

// The encoded bytes of a tone file: format = SF_FORMAT_WAV | SF_FORMAT_PCM_16, or
// SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III for MP3.
inline QByteArray toneFile(int rate, int channels, double seconds,
                           int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    static int serial = 0;
    const QString path = tmpDir() + QStringLiteral("/tone%1.snd").arg(++serial);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        qFatal("cannot write a tone file: %s", sf_strerror(nullptr));
    const qint64 frames = qint64(std::llround(seconds * rate));
    std::vector<float> block(size_t(4096 * channels));
    for (qint64 at = 0; at < frames; at += 4096) {
        const qint64 n = std::min<qint64>(4096, frames - at);
        for (qint64 i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                block[size_t(i * channels + c)] = toneSample(at + i, rate, c);
        sf_writef_float(f, block.data(), n);
    }
    sf_close(f);
    return takeFile(path);
}

inline QByteArray mp3Tone(int rate, int channels, double seconds)
{
    return toneFile(rate, channels, seconds, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III);
}

inline mvx::sentra::SentenceData sentence(int startMs, int endMs, const QString &english,
                                          const QString &chinese = {},
                                          const QString &comment = {})
{
    mvx::sentra::SentenceData s;
    s.startMs = startMs;
    s.endMs = endMs;
    s.english = english;
    s.chinese = chinese;
    s.comment = comment;
    return s;
}

// A short lesson: a title and three sentences over a 6-second 22050 Hz tone.
inline mvx::sentra::LessonData sampleLesson(const QString &title = QStringLiteral("Rain in Spring"))
{
    mvx::sentra::LessonData l;
    l.title = title;
    l.sound = toneFile(22050, 1, 6.0);
    auto t = sentence(0, 1200, title, QStringLiteral("春雨"));
    t.isTitle = true;
    l.sentences.append(t);
    auto s1 = sentence(1200, 3000, QStringLiteral("Farmers in the north said the rain came early."),
                       QStringLiteral("北方的农民说雨来得早。"), QStringLiteral("early: 早"));
    s1.keywords = {1, 7};
    l.sentences.append(s1);
    l.sentences.append(sentence(3000, 4500, QStringLiteral("It's a well-known sign of a good year."),
                                QStringLiteral("这是丰年的好兆头。")));
    l.sentences.append(sentence(4500, 6000, QStringLiteral("Rice prices fell 3.5% in the U.S. market."),
                                QStringLiteral("美国市场米价下跌了3.5%。")));
    return l;
}

// Makes a book file with the given lessons; fails the calling test when it cannot.
inline QString makeBook(const QString &name, const QList<mvx::sentra::LessonData> &lessons)
{
    const QString path = tmpDir() + u'/' + name;
    mvx::sentra::SentraBook book;
    if (!book.create(path, true))
        qFatal("cannot create %s: %s", qPrintable(path), qPrintable(book.lastError()));
    for (const auto &l : lessons) {
        if (book.addLesson(l) < 0)
            qFatal("cannot add a lesson: %s", qPrintable(book.lastError()));
    }
    return path;
}

} // namespace fixtures
