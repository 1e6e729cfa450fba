#pragma once
// Shared fixture of the page tests and the page benchmark: a program home in a scratch folder
// with the shipped frameset pages, and real sentence books made through the book library.
#include "libs/sentra/SentraBook.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace pagesfixture {

// A WAV file's bytes: ms of quiet 16-bit mono sound at 22050 Hz.
inline QByteArray QuietWav(int ms)
{
    const int samples = int(qint64(22050) * ms / 1000);
    QByteArray data(samples * 2, '\0');
    for (int i = 0; i < samples; ++i) {
        const qint16 v = qint16((i % 50) * 20 - 500); // a faint buzz, not pure silence
        qToLittleEndian<qint16>(v, data.data() + 2 * i);
    }
    QByteArray out;
    auto u32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian<quint32>(v, b);
        out.append(b, 4);
    };
    auto u16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian<quint16>(v, b);
        out.append(b, 2);
    };
    out.append("RIFF");
    u32(36 + data.size());
    out.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(22050);
    u32(22050 * 2);
    u16(2);
    u16(16);
    out.append("data");
    u32(data.size());
    out.append(data);
    return out;
}

// A lesson of count sentences (sentence 0 the title): sentence 2 marked (degree 1), word 2 of
// every other sentence a key word, word 3 of sentence 3 a new word, comments on odd sentences.
inline mvx::sentra::LessonData MakeLesson(const QString &title, int count)
{
    mvx::sentra::LessonData lesson;
    lesson.title = title;
    lesson.sound = QuietWav(count * 300 + 200);
    for (int i = 0; i < count; ++i) {
        mvx::sentra::SentenceData s;
        s.startMs = i * 300;
        s.endMs = i * 300 + 280;
        if (i == 0) {
            s.english = title;
            s.chinese = QStringLiteral("标题：") + title;
            s.isTitle = true;
        } else {
            s.english = QStringLiteral("Sentence %1 tells the news of the day & more.").arg(i);
            s.chinese = QStringLiteral("第%1句讲述当天的新闻。").arg(i);
            s.comment = i % 2 ? QStringLiteral("Comment on sentence %1.").arg(i) : QString();
            s.keywords = {2};
            if (i == 3) {
                s.newwords = {3};
            }
            s.degree = i == 2 ? 1 : 0;
        }
        lesson.sentences.append(s);
    }
    return lesson;
}

// Makes a book with the given lessons; returns false when the library refuses it.
inline bool MakeBook(const QString &path, const QList<mvx::sentra::LessonData> &lessons)
{
    mvx::sentra::SentraBook book;
    if (!book.create(path, true)) {
        return false;
    }
    for (const auto &l : lessons) {
        if (book.addLesson(l) < 0) {
            return false;
        }
    }
    book.close();
    return true;
}

// A fresh program home under base with alltmpfile/ holding the shipped frameset pages.
inline QString MakeHome(const QString &base)
{
    QDir(base).removeRecursively();
    QDir().mkpath(base + QStringLiteral("/alltmpfile"));
    const QDir html(QStringLiteral(MVX_SOURCE_DIR "/data/html"));
    for (const QString &f : html.entryList(QDir::Files)) {
        QFile::copy(html.filePath(f), base + QStringLiteral("/alltmpfile/") + f);
    }
    return base;
}

} // namespace pagesfixture
