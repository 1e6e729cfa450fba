#include "libs/sentra/StretchCutter.h"

#include "LessonSound.h"
#include "libs/sentra/SentraBook.h"

namespace mvx::sentra {

StretchCutter::StretchCutter() = default;
StretchCutter::~StretchCutter() = default;

LessonSound *StretchCutter::open(const SentraBook &book, int lessonNo, QString *error)
{
    if (m_sound && m_lessonNo == lessonNo && m_bookPath == book.path())
        return m_sound.get();
    m_sound.reset();
    m_lessonNo = -1;
    if (!book.lessonInfo(lessonNo)) {
        if (error)
            *error = book.lastError();
        return nullptr;
    }
    auto sound = std::make_unique<LessonSound>(book.lessonSound(lessonNo));
    if (!sound->isValid()) {
        if (error)
            *error = sound->errorText();
        return nullptr;
    }
    m_sound = std::move(sound);
    m_lessonNo = lessonNo;
    m_bookPath = book.path();
    return m_sound.get();
}

bool StretchCutter::cut(const SentraBook &book, int lessonNo, qint64 startMs, qint64 endMs,
                        std::vector<qint16> &samples, QString *error)
{
    LessonSound *sound = open(book, lessonNo, error);
    if (!sound)
        return false;
    if (!sound->cut(startMs, endMs, samples)) {
        if (error)
            *error = QStringLiteral("cannot decode %1-%2 ms of lesson %3: %4")
                         .arg(startMs)
                         .arg(endMs)
                         .arg(lessonNo)
                         .arg(sound->errorText());
        return false;
    }
    return true;
}

qint64 StretchCutter::soundMs(const SentraBook &book, int lessonNo, QString *error)
{
    LessonSound *sound = open(book, lessonNo, error);
    return sound ? sound->durationMs() : -1;
}

} // namespace mvx::sentra
