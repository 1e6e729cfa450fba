#pragma once
// A whole lesson for a phone or a music player: its sound as one levelled 96 kbit/s MP3
// and a synchronised LRC beside it (UTF-8, "[ti:...]", each sentence's start with its
// English, then its Chinese on a line with the same time; a line with only a time ends a
// sentence that does not run into the next). The book maker reads such an LRC back.
#include "player/excerpt/ClipMaker.h"
#include "libs/sentra/SentraTypes.h"

#include <QList>
#include <QString>

#include <atomic>

namespace mvx::sentra {
class SentraBook;
}

namespace mvx::excerpt {

class ExcerptFiles;

class LessonExport final
{
public:
    // "[mm:ss.xx]" to the nearest hundredth of a second.
    [[nodiscard]] static QString LrcTime(qint64 ms);
    [[nodiscard]] static QString LrcText(const QString &title, const QList<sentra::SentenceData> &sentences,
                                         qint64 soundMs);
    // The files' base name: the lesson title made a safe file name, else book name-N.
    [[nodiscard]] static QString BaseName(const QString &bookPath, int lessonNo, const QString &title);

    // Writes folder/<base>.mp3 and folder/<base>.lrc (the LRC renamed last; a failure leaves
    // neither new file). Returns the MP3's path, or an empty text with *error naming the file.
    // A cancel seen before writing leaves the folder as it was and the error empty.
    static QString Export(sentra::SentraBook &book, int lessonNo, const QString &folder, ExcerptFiles &files,
                          QString *error, const std::atomic<bool> *cancel = nullptr);
};

} // namespace mvx::excerpt
