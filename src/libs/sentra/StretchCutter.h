#pragma once
// Any stretch of a lesson's sound, cut as the book cuts its sentences (22050 Hz mono,
// exactly round(end * 22050 / 1000) - round(start * 22050 / 1000) samples): excerpts of a
// padded sentence, a repeated part, the whole lesson. The decoder of the last lesson stays
// open, so the next cut of the same lesson seeks instead of decoding from the start.
// One object per thread, like the book it reads.
#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

namespace mvx::sentra {

class LessonSound;
class SentraBook;

class StretchCutter final
{
public:
    StretchCutter();
    ~StretchCutter();
    StretchCutter(const StretchCutter &) = delete;
    StretchCutter &operator=(const StretchCutter &) = delete;

    bool cut(const SentraBook &book, int lessonNo, qint64 startMs, qint64 endMs, std::vector<qint16> &samples,
             QString *error);
    // Length of the lesson's sound in ms, -1 when it cannot be decoded.
    [[nodiscard]] qint64 soundMs(const SentraBook &book, int lessonNo, QString *error = nullptr);

private:
    LessonSound *open(const SentraBook &book, int lessonNo, QString *error);

    QString m_bookPath;
    int m_lessonNo = -1;
    std::unique_ptr<LessonSound> m_sound;
};

} // namespace mvx::sentra
