// The learner's writes from the real player window, on a copy of a bundled book:
//   word_save_ms           "存入笔记本" in the dictionary pop-up opened by a real right click:
//                          the word marked in the book, committed to the notebook and shown
//                          underlined in the page (median)
//   comment_save_ms        OK (Ctrl+Enter) in the comment dialog to the comment committed to the
//                          book and shown in the comment page (median)
// beside the floors, each measured in the same run on the same file:
//   word_save_floor_ms     a bare one-row update committed to the notebook
//   comment_save_floor_ms  a bare one-row update committed to the book
#include "BenchUtil.h"

#include "core/AppState.h"
#include "core/SqliteDb.h"
#include "core/WorkingFiles.h"
#include "libs/comm/CommLib.h"
#include "libs/notedict/NoteDictLib.h"
#include "libs/notedict/NotebookStore.h"
#include "libs/notedict/ui/DictPopupForm.h"
#include "libs/notedict/ui/NoteDictWindows.h"
#include "libs/sentra/SentraFacade.h"
#include "player/form/AddCommentForm.h"
#include "player/form/PlayLessonForm.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace mvx;

namespace {

constexpr int kRounds = 15;

QString SmallestBundledBook()
{
    QString best;
    qint64 bestSize = -1;
    QDirIterator it(QStringLiteral(MVX_HOME "/brxspecial"), {QStringLiteral("*.dat")}, QDir::Files);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        if (bestSize < 0 || fi.size() < bestSize) {
            best = fi.filePath();
            bestSize = fi.size();
        }
    }
    return best;
}

pages::HtmlView &View(PlayLessonForm &form)
{
    return *static_cast<pages::HtmlView *>(form.ScriptView());
}

QString Frame(PlayLessonForm &form, SentenceText text)
{
    return static_cast<pages::LessonPages &>(form.Pages()).FrameOf(text);
}

// Word k of sentence n scrolled into view: its centre in the view and its text.
QVariantMap WordAt(PlayLessonForm &form, int n, int k)
{
    return View(form)
        .runAndWait(QStringLiteral("(function(f,n,k){var l=__mvxAgent.el(f,'ste'+n);if(!l||!l.children[k])return null;"
                                   "l.scrollIntoView({block:'center'});var w=l.children[k];var b=w.getBoundingClientRect();"
                                   "var o=__mvxAgent.rect(f,'ste'+n);var lb=l.getBoundingClientRect();"
                                   "return {x:o.x+b.left-lb.left+b.width/2,y:o.y+b.top-lb.top+b.height/2,"
                                   "t:w.textContent};})('%1',%2,%3)")
                        .arg(Frame(form, SentenceText::English))
                        .arg(n)
                        .arg(k),
                    10000)
        .toMap();
}

bool Underlined(PlayLessonForm &form, int n, int k)
{
    return View(form)
        .runAndWait(QStringLiteral("__mvxAgent.el('%1','ste%2').children[%3].style.textDecoration")
                        .arg(Frame(form, SentenceText::English))
                        .arg(n)
                        .arg(k),
                    10000)
        .toString()
        .contains(QLatin1String("underline"));
}

// One right click on the word, the pop-up's save, the page asked until it shows the mark.
bool SaveWord(PlayLessonForm &form, int n, int k, std::vector<double> &times)
{
    const QVariantMap at = WordAt(form, n, k);
    if (at.isEmpty())
        return false;
    QTest::mouseClick(View(form).focusProxy(), Qt::RightButton, {},
                      QPoint(int(at["x"].toDouble()), int(at["y"].toDouble())));
    if (!QTest::qWaitFor([] { return CurrentDictPopup() && CurrentDictPopup()->isVisible(); }, 10000))
        return false;
    QTest::qWait(50);
    auto *save = CurrentDictPopup()->findChild<QPushButton *>(QStringLiteral("btSaveWord"));
    const double t0 = bench::nowMs();
    QTest::mouseClick(save, Qt::LeftButton);
    const bool shown = Underlined(form, n, k);
    times.push_back(bench::nowMs() - t0);
    CurrentDictPopup()->close();
    return shown;
}

// The comment dialog opened for sentence n, answered with text by Ctrl+Enter; the page asked
// once the player is done with it.
bool SaveComment(PlayLessonForm &form, int n, const QString &text, std::vector<double> &times)
{
    form.Controller().SetCurSentence(n);
    double t0 = 0;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<AddCommentForm *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        dialog->TextBox()->setPlainText(text);
        t0 = bench::nowMs();
        QTest::keyClick(dialog->TextBox(), Qt::Key_Return, Qt::ControlModifier);
    });
    poll.start();
    form.EditCurComment();
    const QString shown = View(form)
                              .runAndWait(QStringLiteral("__mvxAgent.el('%1','stz%2').innerText")
                                              .arg(Frame(form, SentenceText::Comment))
                                              .arg(n),
                                          10000)
                              .toString();
    times.push_back(bench::nowMs() - t0);
    return t0 > 0 && shown == text && bcSentence_GetComment(form.Controller().BookHandle(),
                                                             form.Controller().GetSentenceNoInAll(n)) == text;
}

// A bare one-row update committed, kRounds times.
bool CommitFloor(const QString &file, const QString &sql, std::vector<double> &times)
{
    SqliteDb db;
    if (!db.open(file, SqliteDb::Mode::ReadWrite))
        return false;
    for (int i = 0; i < kRounds * 2; ++i) {
        const double t0 = bench::nowMs();
        if (!db.exec(sql))
            return false;
        times.push_back(bench::nowMs() - t0);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    App().appPath = QStringLiteral(MVX_HOME);
    App().skinRoot = App().appPath + QStringLiteral("/ecminterface");
    App().noteProductTag = QStringLiteral("kbt");
    QDir::setCurrent(App().appPath);
    SetMessageBoxHandler([](const QString &text, int) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return -1;
    });
    App().ecDictHandle = bcEcDict_Open(QStringLiteral("mvxdictec.idx"), QStringLiteral("mvxdictec.lib"));
    if (App().ecDictHandle <= 0 || bcNoteDictInitEx(vcSndCenter_Open(-1, 16, 22050, 1), App().ecDictHandle,
                                                    QStringLiteral("mvxbrxspecial"), QString(), 0) != 1) {
        std::fprintf(stderr, "no dictionary in %s\n", MVX_HOME);
        return 1;
    }
    // The learner's notebook is kept: the benchmark writes to a notebook of its own.
    QTemporaryDir dir;
    const QString bundled = SmallestBundledBook();
    const QString book = dir.filePath(QStringLiteral("bench.dat"));
    const QString note = WorkingFiles::NotebookFile;
    const QString kept = note + QStringLiteral(".bench-kept");
    if (bundled.isEmpty() || !QFile::copy(bundled, book))
        return 1;
    QDir().mkpath(QStringLiteral("notebook"));
    QFile::remove(kept);
    QFile::remove(kept + QStringLiteral(".lib"));
    const bool hadNotebook = QFile::exists(note);
    if (hadNotebook && (!QFile::rename(note, kept) || !QFile::rename(note + QStringLiteral(".lib"), kept + QStringLiteral(".lib"))))
        return 1;
    const auto restore = [&] {
        QFile::remove(note);
        QFile::remove(note + QStringLiteral(".lib"));
        if (hadNotebook) {
            QFile::rename(kept, note);
            QFile::rename(kept + QStringLiteral(".lib"), note + QStringLiteral(".lib"));
        }
    };

    int status = 0;
    std::vector<double> words, comments;
    {
        PlayLessonForm form;
        form.OpenLesson(book, 0, true);
        form.resize(1100, 760);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form) || form.Controller().PlayStatus() != Stopped) {
            restore();
            return 1;
        }
        QTest::qWait(1500); // pages loaded and painted
        const int count = form.Controller().SentenceCount();
        for (int i = 0; i < kRounds && status == 0; ++i) {
            const int n = 1 + i % std::max(1, count - 1);
            if (!SaveWord(form, n, 2 + i / std::max(1, count - 1), words))
                status = 2;
        }
        for (int i = 0; i < kRounds && status == 0; ++i) {
            const int n = 1 + i % std::max(1, count - 1);
            if (!SaveComment(form, n, QStringLiteral("Note %1: <b>&</b> \"as typed\"").arg(i), comments))
                status = 3;
        }
        form.close();
    }
    CloseNoteDictWindows();
    if (status != 0) {
        std::fprintf(stderr, "a save was not shown (%d)\n", status);
        restore();
        return status;
    }
    bench::figure("word_save_ms", bench::median(words), "ms");
    bench::figure("comment_save_ms", bench::median(comments), "ms");

    std::vector<double> noteFloor, bookFloor;
    if (!CommitFloor(note, QStringLiteral("UPDATE words SET reviews = reviews + 1 WHERE id = (SELECT MIN(id) FROM words)"),
                     noteFloor)
        || !CommitFloor(book, QStringLiteral("UPDATE sentence SET degree = 1 - degree WHERE no_in_all = 1"), bookFloor)) {
        restore();
        return 4;
    }
    bench::figure("word_save_floor_ms", bench::median(noteFloor), "ms");
    bench::figure("comment_save_floor_ms", bench::median(bookFloor), "ms");
    restore();
    return 0;
}
