#pragma once
// Copies a word-sound library folder (every file, sub-folders too) into the program's
// "snd" folder. The files go first into a staging folder beside the target
// (target + ".partial"); only a complete copy is put in place, so a failed or cancelled
// copy never leaves a half library that the next start would take for a whole one, and an
// older library in the target stays as it was until the new one is complete. Files of the
// old folder that the new library does not bring are kept.
#include <QString>
#include <functional>

namespace mvx {

class WordSoundCopy final
{
public:
    enum class Result { Copied, Failed, Cancelled, NoSpace };

    // Called while copying with the bytes copied so far and the total; false cancels.
    using Progress = std::function<bool(qint64 doneBytes, qint64 totalBytes)>;
    // Free bytes on the volume of a folder (the real volume unless a test says otherwise).
    using FreeSpace = std::function<qint64(const QString &folder)>;

    WordSoundCopy(const QString &sourceFolder, const QString &targetFolder);

    void setFreeSpaceQuery(FreeSpace query) { m_freeSpace = std::move(query); }
    // Runs the whole copy on the calling thread; progress is called after every block.
    Result run(const Progress &progress = {});
    // What went wrong, for the learner (empty after Copied).
    [[nodiscard]] QString errorText() const { return m_error; }

    [[nodiscard]] static QString StagingFolderFor(const QString &targetFolder);
    // The index file that marks a word-sound library folder.
    [[nodiscard]] static QString IndexFileName();
    // The library folder a learner's choice stands for: the folder itself when it holds the
    // index, else its "snd" sub-folder when that does; empty when neither.
    [[nodiscard]] static QString LibraryFolderIn(const QString &chosenFolder);
    // The "snd" folder of a mounted volume that carries the library; empty when none does.
    [[nodiscard]] static QString DiscLibraryFolder();

private:
    Result fail(Result result, const QString &text);
    bool copyFile(const QString &from, const QString &to, qint64 &done, qint64 total, const Progress &progress,
                  Result &outcome);
    bool putInPlace(const QString &staging);

    QString m_source;
    QString m_target;
    QString m_error;
    FreeSpace m_freeSpace;
};

} // namespace mvx
