// The masked recall and the drills' return in the real player window (real pages in the HTML
// view, the real media back end with SDL's dummy driver), on a book made on the spot whose
// lesson has 60 sentences. Medians of several rounds, each beside a floor taken in the same
// run:
//   mask_lesson_ms    masking the whole lesson (60 sentences), call to masked
//   page_trip_ms      floor: one round trip of a trivial script to the page and back
//   reveal_word_ms    Q to the word shown uncovered in the page (key, then a read-back)
//   reveal_floor_ms   floor: the read-back alone
//   drill_return_ms   an unchanged spelling drill closed to the player usable again
//   dialog_return_ms  floor: a plain modal dialog closed to its caller running again
#include "BenchUtil.h"
#include "../../tests/sentra/SentraFixtures.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "libs/notedict/ui/SpellForm.h"
#include "player/form/PlayLessonForm.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace mvx;

namespace {

constexpr int kSentences = 60;

QString MakeLongBook(const QString &folder)
{
    sentra::LessonData lesson;
    lesson.title = QStringLiteral("Recall");
    lesson.sound = fixtures::toneFile(22050, 1, kSentences * 1.0 + 1.0);
    auto title = fixtures::sentence(0, 1000, lesson.title, QStringLiteral("背诵"));
    title.isTitle = true;
    lesson.sentences.append(title);
    for (int i = 0; i < kSentences; ++i) {
        auto s = fixtures::sentence(1000 + i * 1000, 2000 + i * 1000,
                                    QStringLiteral("Farmers in the north said the rain came early in year %1.").arg(i),
                                    QStringLiteral("北方的农民说雨来得早。"));
        s.keywords = {1, 7};
        lesson.sentences.append(s);
    }
    const QString path = folder + QStringLiteral("/recall.dat");
    sentra::SentraBook book;
    if (!book.create(path, true) || book.addLesson(lesson) < 0)
        qFatal("cannot make the book: %s", qPrintable(book.lastError()));
    return path;
}

// Word 1 of sentence n: "m" masked, else shown.
QString WordOneLook(PlayLessonForm &form, int n)
{
    auto &pages = static_cast<pages::LessonPages &>(form.Pages());
    auto *view = static_cast<pages::HtmlView *>(form.ScriptView());
    return view
        ->runAndWait(QStringLiteral("(function(){var l=__mvxAgent.el('%1','ste%2');var w=l&&l.children[1];"
                                    "return w&&w.style.backgroundColor?'m':'s';})()")
                         .arg(pages.FrameOf(SentenceText::English))
                         .arg(n),
                     3000)
        .toString();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    App().appPath = QStringLiteral(MVX_HOME);
    App().skinRoot = App().appPath + QStringLiteral("/ecminterface");
    QDir::setCurrent(App().appPath);
    SetMessageBoxHandler([](const QString &text, int) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return -1;
    });
    SaveUserBool(QString::fromLatin1(Key::ShouldShowEnglish), true);
    SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
    const QString book = MakeLongBook(tmp.path());
    PlayLessonForm form;
    form.OpenLesson(book, 0, true);
    form.show();
    if (form.Controller().SentenceCount() != kSentences + 1) {
        std::fprintf(stderr, "the lesson did not open\n");
        return 1;
    }
    auto *view = static_cast<pages::HtmlView *>(form.ScriptView());

    std::vector<double> mask, trip, reveal, revealFloor, drill, dialog;
    for (int round = 0; round < 7; ++round) {
        double t = bench::nowMs();
        view->runAndWait(QStringLiteral("1"), 3000);
        trip.push_back(bench::nowMs() - t);

        form.Controller().SetCurSentence(1);
        t = bench::nowMs();
        form.ToRecite(QStringLiteral("rbThink"));
        mask.push_back(bench::nowMs() - t);
        if (!form.Pages().ShowState().maskActive || WordOneLook(form, kSentences) != QLatin1String("m")) {
            std::fprintf(stderr, "the lesson was not masked\n");
            return 1;
        }
        for (int word = 0; word < 5; ++word) {
            t = bench::nowMs();
            WordOneLook(form, 2);
            revealFloor.push_back(bench::nowMs() - t);
        }
        // Q on sentence 1, 2, 3 ...: word 1 first, read back until shown.
        for (int n = 1; n <= 5; ++n) {
            form.Controller().SetCurSentence(n);
            t = bench::nowMs();
            QTest::keyClick(&form, Qt::Key_Q);
            while (WordOneLook(form, n) != QLatin1String("s")) {
                if (bench::nowMs() - t > 3000) {
                    std::fprintf(stderr, "Q did not uncover the word\n");
                    return 1;
                }
            }
            reveal.push_back(bench::nowMs() - t);
        }
        form.DispatchClick(QStringLiteral("btStopThinking"));

        // The spelling drill closed at once; timed from its close to Alt+S returning.
        double closedAt = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto *spell = qobject_cast<SpellForm *>(QApplication::activeModalWidget()); spell && spell->isVisible()) {
                closedAt = bench::nowMs();
                spell->reject();
            }
        });
        poll.start(5);
        QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
        const double back = bench::nowMs();
        poll.stop();
        if (closedAt == 0 || form.Controller().BookHandle() == -1) {
            std::fprintf(stderr, "the drill did not run\n");
            return 1;
        }
        drill.push_back(back - closedAt);

        QDialog plain(&form);
        double plainClosed = 0;
        QTimer::singleShot(20, &plain, [&] {
            plainClosed = bench::nowMs();
            plain.reject();
        });
        plain.exec();
        dialog.push_back(bench::nowMs() - plainClosed);
    }
    bench::figure("mask_lesson_ms", bench::median(mask), "ms");
    bench::figure("page_trip_ms", bench::median(trip), "ms");
    bench::figure("reveal_word_ms", bench::median(reveal), "ms");
    bench::figure("reveal_floor_ms", bench::median(revealFloor), "ms");
    bench::figure("drill_return_ms", bench::median(drill), "ms");
    bench::figure("dialog_return_ms", bench::median(dialog), "ms");
    form.close();
    return 0;
}
