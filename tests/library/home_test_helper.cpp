// Starts as the program does in a given shipped data folder, then writes what a learner's
// session writes: a working file, a mark in a lesson book and a word in the notebook.
// Prints "home <path>" and exits 0 when every write lands; names the failed step otherwise.
#include "core/InstallLayout.h"
#include "core/ProgramHome.h"
#include "core/WorkingFiles.h"
#include "libs/notedict/NotebookStore.h"
#include "libs/sentra/SentraBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {
int failed(const char *step)
{
    std::fprintf(stderr, "failed: %s\n", step);
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() < 2)
        return 2;
    using namespace mvx;
    const ProgramHomeChoice home = ProgramHome::Choose(ShippedDataFolder(app.arguments().at(1)));
    if (!home.notice.isEmpty())
        std::fprintf(stderr, "notice: %s\n", qPrintable(home.notice));
    if (!QDir::setCurrent(home.path))
        return failed("current folder");
    for (const QStringList &folders : {WorkingFiles::EarlyFolders, WorkingFiles::TmpWavFolder, WorkingFiles::LateFolders})
        WorkingFiles::EnsureFolders(home.path, folders);
    QFile page(WorkingFiles::TmpEHtml);
    if (!page.open(QIODevice::WriteOnly) || page.write("<html></html>") <= 0)
        return failed("working file");
    page.close();
    {
        sentra::SentraBook book;
        if (!book.open(QStringLiteral("brxspecial/book.dat"), true) || !book.setDegree(1, 1))
            return failed("book");
    }
    NotebookStore notebook;
    if (!notebook.open(WorkingFiles::NotebookFile, WorkingFiles::NotebookFile + QStringLiteral(".lib"), true)
        || notebook.addWord(QStringLiteral("rain"), QStringLiteral("雨"), {}, {}, {}) == NotebookStore::AddResult::Failed)
        return failed("notebook");
    std::printf("home %s\n", qPrintable(home.path));
    return 0;
}
