#include "DrillWindows.h"

#include "BrowseForm.h"
#include "ShuffleForm.h"
#include "SpeakForm.h"
#include "WordSummaryForm.h"

#include "notedict/DrillBook.h"
#include "notedict/WordSummaryModel.h"
#include "core/Helpers.h"
#include "libs/sentra/SentraBook.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace mvx {

namespace {

// One prepared window of a kind at a time: Init fills it, the show call runs it.
struct Request
{
    QPointer<QWidget> owner;
    QString bookFile;
    QString noteFile;
    int first = 0;
    int count = 0;
    bool ready = false;
    bool changed = false;
};
Request g_shuffle, g_speak, g_browse;
QPointer<QWidget> g_summaryOwner;

// Checks the book and the range before the caller hides its window for the show call.
int Prepare(Request &r, QWidget *owner, const QString &bookFile, int first, int count, const QString &noteFile,
            bool clipToLesson)
{
    r = Request{owner, bookFile, noteFile, first, count, false, false};
    sentra::SentraBook book;
    QString error;
    if (!book.open(ToFsPath(bookFile), false))
        error = BookOpenFailedText(bookFile);
    else
        CheckDrillRange(book, first, count, clipToLesson, &error);
    if (!error.isEmpty()) {
        ShowMessageBox(error, 1);
        return 0;
    }
    r.ready = true;
    return 1;
}

// Runs form over r: Start(error) fills it; a refusal is told and opens nothing.
template <typename Form, typename StartFn>
int Show(Request &r, StartFn start)
{
    if (!r.ready)
        return 0;
    r.ready = false;
    Form form(r.owner);
    QString error;
    if (!start(form, &error)) {
        ShowMessageBox(error, 1);
        return 0;
    }
    form.Load();
    form.exec();
    r.changed = form.Changed();
    return 1;
}

} // namespace

int bcShuffleRecite_InitEx(QWidget *owner, QString &bookFile, int first, int count, int, const QString &noteName)
{
    return Prepare(g_shuffle, owner, bookFile, first, count, DrillNotebookFile(noteName), false);
}

int bcShuffleRecite_LoadAndShowNoDegree(int)
{
    Request &r = g_shuffle;
    return Show<ShuffleForm>(r, [&r](ShuffleForm &f, QString *e) { return f.Start(ToFsPath(r.bookFile), r.first, r.count, e); });
}

int bcShuffleRecite_IfSentenceChanged()
{
    return g_shuffle.changed ? 1 : 0;
}

int bcSpeak_Init(QWidget *owner, QString &bookFile, int first, int count, const QString &noteName)
{
    return Prepare(g_speak, owner, bookFile, first, count, DrillNotebookFile(noteName), false);
}

int bcSpeak_LoadAndShow()
{
    Request &r = g_speak;
    return Show<SpeakForm>(r, [&r](SpeakForm &f, QString *e) { return f.Start(ToFsPath(r.bookFile), r.first, r.count, e); });
}

int bcSpeak_IfSentenceChanged()
{
    return g_speak.changed ? 1 : 0;
}

int bcBrowse_Init(QWidget *owner, QString &bookFile, int first, int count, const QString &noteFile)
{
    return Prepare(g_browse, owner, bookFile, first, count, DrillNotebookFile(noteFile), true);
}

int bcBrowse_LoadAndShow()
{
    Request &r = g_browse;
    return Show<BrowseForm>(r, [&r](BrowseForm &f, QString *e) {
        return f.Start(ToFsPath(r.bookFile), r.first, r.count, ToFsPath(r.noteFile), e);
    });
}

int bcBrowse_IfSentenceChanged()
{
    return g_browse.changed ? 1 : 0;
}

int bcWordSummary_Init(QWidget *owner, QString &bookFile, int first, int count, int mode, const QString &summaryFile,
                       const QString &summaryLibFile)
{
    g_summaryOwner = owner;
    WordSummaryModel model;
    QString error;
    const int words = model.Build(ToFsPath(bookFile), first, count, mode, &error);
    if (words == -1)
        return -1;
    if (words < 0) {
        ShowMessageBox(error, 1);
        return 0;
    }
    QDir().mkpath(QFileInfo(ToFsPath(summaryFile)).absolutePath());
    if (!model.Save(ToFsPath(summaryFile), ToFsPath(summaryLibFile))) {
        ShowMessageBox(QStringLiteral("单词总结的临时文件无法写入：%1").arg(summaryFile), 1);
        return 0;
    }
    return words;
}

int bcWordSummary_LoadAndShowEx2(const QString &summaryFile, const QString &summaryLibFile, const QString &, int,
                                 const QString &dictIdx, const QString &dictLib)
{
    WordSummaryForm form(g_summaryOwner);
    QString error;
    if (!form.Start(ToFsPath(summaryFile), ToFsPath(summaryLibFile), ToFsPath(dictIdx), ToFsPath(dictLib), &error)) {
        ShowMessageBox(error, 1);
        return 0;
    }
    form.Load();
    form.exec();
    return 1;
}

} // namespace mvx
