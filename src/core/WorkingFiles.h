#pragma once
// Working folders and fixed temporary file names under the program home
// (relative to the current folder, which start-up makes the home).
#include <QString>
#include <QStringList>

namespace mvx::WorkingFiles {

inline const QString AllTmpFile = QStringLiteral("alltmpfile");
inline const QString Notebook = QStringLiteral("notebook");
inline const QString Segment = QStringLiteral("segment");

inline const QString TmpEHtml = QStringLiteral("alltmpfile/tmpehtml.htm");
inline const QString TmpCHtml = QStringLiteral("alltmpfile/tmpchtml.htm");
inline const QString TmpCommentHtml = QStringLiteral("alltmpfile/tmpcommenthtml.htm");
inline const QString TmpEcHtml = QStringLiteral("alltmpfile/tmpechtml.htm");
inline const QString TmpEcHtmlE = QStringLiteral("alltmpfile/tmpechtmle.htm");
inline const QString TmpEcHtmlC = QStringLiteral("alltmpfile/tmpechtmlc.htm");
inline const QString TmpDigest = QStringLiteral("alltmpfile/tmpdigest.tmp");
inline const QString TmpESentenceSnd = QStringLiteral("alltmpfile/tmpesentencesnd");
inline const QString TmpEWord = QStringLiteral("alltmpfile/tmpeword");
inline const QString TmpSummary = QStringLiteral("alltmpfile/tmpsummary");
inline const QString TmpQuiz = QStringLiteral("alltmpfile/tmpquiz.htm");
inline const QString BlankWav = QStringLiteral("blank.wav");
inline const QString NotebookFile = QStringLiteral("notebook/brxspecial_note");

// Folders created at start, in the order start-up creates them.
inline const QStringList EarlyFolders = {AllTmpFile, Notebook};               // step 10
inline const QStringList TmpWavFolder = {QStringLiteral("tmpwav")};            // step 14
inline const QStringList LateFolders = {QStringLiteral("soundsample"), Segment, QStringLiteral("ecm"),
                                        QStringLiteral("temp"), QStringLiteral("listen"),
                                        QStringLiteral("script")};             // step 20

// Creates each folder under base that does not exist yet.
void EnsureFolders(const QString &base, const QStringList &folders);
// A new random sentence-sound base path: home + "/alltmpfile/rndsnd" + 1..10000000 (no extension).
[[nodiscard]] QString NewRandomSoundBase(const QString &home);
// Deletes every "alltmpfile/rndsnd*.*" under home; returns how many were deleted.
int DeleteRandomSounds(const QString &home);

} // namespace mvx::WorkingFiles
