#pragma once
// Private state of SentraBook shared by its source files (reading, changes, sound).
#include "LessonSound.h"
#include "libs/sentra/SentraBook.h"
#include "core/SqliteDb.h"

#include <QList>
#include <memory>

namespace mvx::sentra {

inline constexpr qint64 ApplicationId = 0x4D565853; // "MVXS"
inline constexpr int KindKeyword = 1;
inline constexpr int KindNewword = 2;
inline constexpr int Mp3Kbps = 96;

inline int kindCode(WordMarkKind kind)
{
    return kind == WordMarkKind::Keyword ? KindKeyword : KindNewword;
}

class SentraBook::Impl
{
public:
    SqliteDb db;
    bool writable = false;
    bool hasDictation = false; // the dictation table exists (format 2, or upgraded)
    bool hasNudges = false;    // the time_nudge table exists (format 3, or upgraded)
    QList<LessonInfo> lessons; // lesson n at index n
    int soundLesson = -1;      // the lesson whose decoder is kept open in sound
    std::unique_ptr<LessonSound> sound;

    // The decoder of the lesson's sound, opened (and kept) when another lesson's was open.
    LessonSound *soundOf(const SentraBook &book, int lessonNo, QString &error);
};

} // namespace mvx::sentra
