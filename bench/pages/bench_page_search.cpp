// Speed of the in-page search with the real engine and real books:
//   search_next_ms        FindInFrame to the next hit selected and shown, 60-sentence page
//   search_miss_3501_ms   an absent text on a 3,501-sentence page, both passes (range built)
//   search_first_3501_ms  the same, the first search of a dialog (the range built first)
//   page_call_floor_ms    an empty agent call's round trip, the floor of all three
#include "BenchUtil.h"
#include "PagesFixture.h"

#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace mvx;
using namespace mvx::pages;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-background-networking --disable-component-update");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString home = pagesfixture::MakeHome(tmp.path() + QStringLiteral("/home"));
    const QString small = home + QStringLiteral("/small.dat");
    const QString large = home + QStringLiteral("/large.dat");
    for (const auto &[file, count] : {std::pair{small, 60}, std::pair{large, 3501}}) {
        // Short sentences keep the long lesson's sound small; only the text matters here.
        mvx::sentra::LessonData lesson = pagesfixture::MakeLesson(QStringLiteral("Lesson"), count);
        lesson.sound = pagesfixture::QuietWav(count * 20 + 200);
        for (int i = 0; i < lesson.sentences.size(); ++i) {
            lesson.sentences[i].startMs = i * 20;
            lesson.sentences[i].endMs = i * 20 + 18;
        }
        mvx::sentra::SentraBook book;
        if (!book.create(file, true) || book.addLesson(lesson) < 0) {
            std::fprintf(stderr, "bench_page_search: could not make a book: %s\n", qPrintable(book.lastError()));
            return 1;
        }
    }
    HtmlView view;
    view.setAllowedFolders({home});
    view.resize(1000, 700);
    view.show();
    LessonPages pages(view, home);
    LessonPagesResult result;
    const auto timeIt = [](const auto &fn, int times) {
        std::vector<double> v;
        for (int i = 0; i < times; ++i) {
            const double t0 = bench::nowMs();
            fn();
            v.push_back(bench::nowMs() - t0);
        }
        return bench::median(v);
    };
    const auto fail = [](const char *what) {
        std::fprintf(stderr, "bench_page_search: %s\n", what);
        std::exit(1);
    };

    if (pages.LoadLessonPages(small, 0, true, result) != 1)
        fail("cannot load the small lesson");
    const QString frame = pages.FrameOf(SentenceText::English);
    bench::figure("page_call_floor_ms", timeIt([&] { view.runAndWait(QStringLiteral("1"), 5000); }, 50), "ms");
    bench::figure("search_next_ms", timeIt([&] {
                      if (!pages.FindInFrame(frame, QStringLiteral("news"), true).toMap().value("found").toBool())
                          fail("news not found");
                  }, 60),
                  "ms");

    if (pages.LoadLessonPages(large, 0, true, result) != 1)
        fail("cannot load the large lesson");
    const QString big = pages.FrameOf(SentenceText::English);
    const QString absent = QStringLiteral("elephants of the moon");
    bench::figure("search_miss_3501_ms", timeIt([&] { pages.FindInFrame(big, absent, false); }, 15), "ms");
    bench::figure("search_first_3501_ms", timeIt([&] {
                      pages.DropSearchRanges();
                      pages.FindInFrame(big, absent, false);
                  }, 7),
                  "ms");
    return 0;
}
