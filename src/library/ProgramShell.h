#pragma once
// The main program's shell: runs the start-up sequence with this program's real
// windows and libraries, the event loop, and the shut-down when the library window closes.
// The program ends when the library window closes, and only then: other windows closing
// (or every window hidden while a lesson opens) never end it.
#include <QStringList>

class QWidget;

namespace mvx {

// Whole life of the main program; returns the process exit code.
int RunMainProgram(int argc, char *argv[]);
// The same inside an application that already exists: programDir is the folder of the
// program file, args the command line after the program name. Returns the exit code.
int RunProgramShell(const QString &programDir, const QStringList &args);
// Opens the lesson player on a lesson, at a sentence of it when sentence >= 0 (stopped there);
// closing the player shows the library window again. False when no player could be made.
bool OpenLessonPlayer(QWidget *library, const QString &bookFile, int lessonNo, int sentence);

} // namespace mvx
