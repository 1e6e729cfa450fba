// Speed of the lesson pages with the real engine and a real 60-sentence book:
//   pages_open_ms     LoadLessonPages with regeneration up to the labels hooked (view made)
//   layout_switch_ms  a layout change (side by side <-> mixed), pages regenerated and reloaded
//   highlight_move_ms moving the current-sentence highlight, from the call to the page updated
//   settings_preview_ms one colour change of the display settings shown in the 60-sentence pages
//   settings_apply_ms   the settings confirmed: trial look dropped, pages rebuilt and restyled
// With "--screenshots DIR" it instead saves pictures of the side-by-side and mixed layouts and
// of the night look.
#include "BenchUtil.h"
#include "PagesFixture.h"

#include "core/AppState.h"
#include "core/PageLook.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTemporaryDir>
#include <cstdio>

using namespace mvx;
using namespace mvx::pages;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-background-networking --disable-component-update");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString home = pagesfixture::MakeHome(tmp.path() + QStringLiteral("/home"));
    const QString book = home + QStringLiteral("/bench.dat");
    if (!pagesfixture::MakeBook(book, {pagesfixture::MakeLesson(QStringLiteral("Bench lesson"), 60)})) {
        std::fprintf(stderr, "bench_pages: could not make the book\n");
        return 1;
    }
    HtmlView view;
    view.setAllowedFolders({home});
    view.resize(1000, 700);
    view.show();
    LessonPages pages(view, home);
    PageShowState show;
    pages.SetShowState(show);
    LessonPagesResult result;

    auto loadOnce = [&](bool mixed) {
        show.mixedLayout = mixed;
        pages.SetShowState(show);
        const double t0 = bench::nowMs();
        if (pages.LoadLessonPages(book, 0, true, result) != 1) {
            std::fprintf(stderr, "bench_pages: %s\n", qPrintable(pages.LastError()));
            std::exit(1);
        }
        return bench::nowMs() - t0;
    };

    const int shots = app.arguments().indexOf(QStringLiteral("--screenshots"));
    if (shots > 0 && shots + 1 < app.arguments().size()) {
        const QString dir = app.arguments().at(shots + 1);
        QDir().mkpath(dir);
        for (const bool mixed : {false, true}) {
            loadOnce(mixed);
            pages.ApplyDisplayOptions();
            pages.ShowCurSentence(SentenceText::English, 3, true);
            if (!mixed) { // the mixed layout highlights the sentence through its English only
                pages.ShowCurSentence(SentenceText::Chinese, 3, true);
            }
            pages.ShowCurSentence(SentenceText::Comment, 3, true);
            view.runAndWait(QStringLiteral("1"), 5000);
            QTest::qWait(800); // let the compositor paint the last changes
            const QString name = mixed ? QStringLiteral("pages-mixed.png") : QStringLiteral("pages-side-by-side.png");
            if (!view.grab().save(dir + QLatin1Char('/') + name)) {
                std::fprintf(stderr, "bench_pages: could not save %s\n", qPrintable(name));
                return 1;
            }
        }
        NightLookOn() = true;
        loadOnce(false);
        pages.ApplyDisplayOptions();
        for (SentenceText t : {SentenceText::English, SentenceText::Chinese, SentenceText::Comment})
            pages.ShowCurSentence(t, 3, true);
        view.runAndWait(QStringLiteral("1"), 5000);
        QTest::qWait(800);
        if (!view.grab().save(dir + QStringLiteral("/night-pages.png"))) {
            std::fprintf(stderr, "bench_pages: could not save night-pages.png\n");
            return 1;
        }
        return 0;
    }

    loadOnce(false); // engine warm-up: the first page of a process starts the renderer
    std::vector<double> open;
    for (int i = 0; i < 10; ++i) {
        open.push_back(loadOnce(false));
    }
    bench::figure("pages_open_ms", bench::median(open), "ms");

    std::vector<double> sw;
    for (int i = 0; i < 10; ++i) {
        sw.push_back(loadOnce(i % 2 == 0));
    }
    bench::figure("layout_switch_ms", bench::median(sw), "ms");

    loadOnce(false);
    pages.ApplyDisplayOptions();
    std::vector<double> move;
    int cur = 1;
    pages.ShowCurSentence(SentenceText::English, cur, true);
    for (int i = 0; i < 100; ++i) {
        const int next = cur % 59 + 1;
        const double t0 = bench::nowMs();
        pages.ShowCurSentence(SentenceText::English, cur, false);
        pages.ShowCurSentence(SentenceText::English, next, true);
        pages.ShowCurSentence(SentenceText::Chinese, cur, false);
        pages.ShowCurSentence(SentenceText::Chinese, next, true);
        // The page has applied the calls above once this later call answers.
        view.runAndWait(QStringLiteral("1"), 5000);
        move.push_back(bench::nowMs() - t0);
        cur = next;
    }
    bench::figure("highlight_move_ms", bench::median(move), "ms");

    // One swatch change while the dialog is open: from the call to the pages restyled.
    std::vector<double> preview;
    DisplaySettings candidate = App().display;
    for (int i = 0; i < 30; ++i) {
        candidate.englishColor = (i % 2) ? 0x400000 : 0x004000;
        const double t0 = bench::nowMs();
        pages.Show(candidate, false);
        QCoreApplication::processEvents(); // the batch goes out on the next turn of the loop
        view.runAndWait(QStringLiteral("1"), 5000);
        preview.push_back(bench::nowMs() - t0);
    }
    bench::figure("settings_preview_ms", bench::median(preview), "ms");

    // OK: the trial look is dropped and the pages are rebuilt with the settings.
    std::vector<double> apply;
    for (int i = 0; i < 10; ++i) {
        pages.Show(candidate, false);
        QCoreApplication::processEvents();
        const double t0 = bench::nowMs();
        pages.End(true);
        App().display = candidate;
        if (pages.LoadLessonPages(book, 0, true, result) != 1) {
            return 1;
        }
        pages.ApplyDisplayOptions();
        pages.ShowCurSentence(SentenceText::English, 3, true);
        view.runAndWait(QStringLiteral("1"), 5000);
        apply.push_back(bench::nowMs() - t0);
    }
    bench::figure("settings_apply_ms", bench::median(apply), "ms");
    return 0;
}
