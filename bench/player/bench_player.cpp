// Player speed figures with the real media back end (dummy driver), the real book and
// digest libraries and the waveform view:
//   sentence_change_ms  SetCurSentence of a 10-second sentence: sound cut and written,
//                       opened, digest made and drawn (median)
//   nudge_apply_ms      a timing nudge of a 10-second sentence's end (the key's work): the
//                       nudge stored, the sound cut again, opened, digest made and drawn (median)
//   end_detect_late_ms  how long after SndLength - 150 the end of a sentence is caught,
//                       worst case over a lesson played through
//   controller_play_cpu_percent  CPU time of this process while playing: the playback
//                       controller and a bare waveform view on the offscreen platform, no
//                       pages (the real window is measured by bench_player_window)
#include "BenchUtil.h"

#include "core/AppState.h"
#include "libs/comm/CommLib.h"
#include "libs/media/MediaPlayer.h"
#include "libs/sentra/SentraBook.h"
#include "libs/sentra/SentraFacade.h"
#include "player/form/BookSoundSource.h"
#include "player/form/WaveView.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "player/playback/QtPlayerClock.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <ctime>

using namespace mvx;

namespace {

// A lesson of sentenceCount sentences of sentenceMs each over a spoken-like tone.
QByteArray ToneWave(int ms)
{
    const int rate = 22050;
    const int frames = int(qint64(rate) * ms / 1000);
    QByteArray data(frames * 2, Qt::Uninitialized);
    auto *s = reinterpret_cast<qint16 *>(data.data());
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double env = 0.5 + 0.5 * std::sin(2 * M_PI * 2.5 * t);
        s[i] = qint16(9000 * env * std::sin(2 * M_PI * (160 + 30 * std::sin(t)) * t));
    }
    QByteArray out("RIFF");
    auto put32 = [&out](quint32 v) { out.append(reinterpret_cast<const char *>(&v), 4); };
    auto put16 = [&out](quint16 v) { out.append(reinterpret_cast<const char *>(&v), 2); };
    put32(36 + quint32(data.size()));
    out.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    out.append("data");
    put32(quint32(data.size()));
    return out + data;
}

QString MakeBook(const QString &dir, int sentenceCount, int sentenceMs)
{
    sentra::LessonData lesson;
    lesson.title = QStringLiteral("Bench");
    lesson.sound = ToneWave(sentenceCount * sentenceMs);
    for (int i = 0; i < sentenceCount; ++i) {
        sentra::SentenceData s;
        s.startMs = i * sentenceMs;
        s.endMs = (i + 1) * sentenceMs;
        s.english = QStringLiteral("Sentence number %1 of the bench lesson.").arg(i);
        lesson.sentences << s;
    }
    const QString path = dir + QStringLiteral("/bench.dat");
    sentra::SentraBook book;
    if (!book.create(path, true) || book.addLesson(lesson) < 0)
        qFatal("cannot make the bench book: %s", qPrintable(book.lastError()));
    return path;
}

// The book without the HTML view: the playback side's own cost is what is measured.
class BookOnlyPages final : public PageSide
{
public:
    int LoadLessonPages(const QString &bookFile, int lessonNo, bool, LessonPagesResult &r) override
    {
        if (m_handle < 0)
            m_handle = bcSentraBook_Open(bookFile, QStringLiteral("r+b")); // as the player opens it
        int first = 0;
        int count = 0;
        if (bcSentraBook_GetLessonInfo(m_handle, lessonNo, &first, &count, 0) != 0)
            return -1;
        r = {m_handle, count, 0, first};
        return 1;
    }
    void ApplyDisplayOptions() override {}
    void CloseLessonPages() override
    {
        bcSentraBook_Close(m_handle);
        m_handle = -1;
    }
    [[nodiscard]] PageShowState ShowState() const override { return {}; }
    [[nodiscard]] bool HasSentenceElement(SentenceText, int) const override { return false; }
    [[nodiscard]] int ElementDisplayingStatus(SentenceText, int) override { return 1; }
    void ShowCurSentence(SentenceText, int, bool) override {}
    void ScrollSentence(SentenceText, int, bool) override {}
    void RefreshCurrentSentencePages(int) override {}

private:
    int m_handle = -1;
};

double CpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

void Wait(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QTemporaryDir tmp; // also the private settings folder, so the learner's settings stay untouched
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.path() + QStringLiteral("/config")));
    QApplication app(argc, argv);
    const QString home = tmp.path();
    QDir().mkpath(home + QStringLiteral("/alltmpfile"));
    QFile::copy(QStringLiteral(MVX_HOME "/blank.wav"), home + QStringLiteral("/blank.wav"));
    App().appPath = home;
    App().playback.viewWave = 1;
    const QString bookFile = MakeBook(home, 8, 10000);

    MediaPlayer media;
    QtPlayerClock clock;
    BookSoundSource sounds;
    BookOnlyPages pages;
    PlaybackController player(media, pages, sounds, clock, home);
    WaveView view(player);
    view.resize(760, 120);
    view.show();
    player.InitForWindow();
    player.OpenLesson(bookFile, 0, true);
    if (player.PlayStatus() != Stopped)
        qFatal("the bench lesson did not open");

    // sentence_change_ms: alternate between sentences; the digest is drawn as the view does.
    QImage picture(760, 100, QImage::Format_RGB32);
    std::vector<double> changes;
    for (int i = 0; i < 21; ++i) {
        const int target = 1 + i % 6;
        const double t0 = bench::nowMs();
        player.SetCurSentence(target);
        QPainter p(&picture);
        view.RenderPicture(p);
        p.end();
        changes.push_back(bench::nowMs() - t0);
    }
    bench::figure("sentence_change_ms", bench::median(changes), "ms");

    // nudge_apply_ms: the end 50 ms later, then back, on the same 10-second sentence.
    std::vector<double> nudges;
    for (int i = 0; i < 21; ++i) {
        const double t0 = bench::nowMs();
        if (!player.NudgeCurrentSentence(true, i % 2 ? -50 : 50))
            qFatal("the bench nudge was refused");
        QPainter p(&picture);
        view.RenderPicture(p);
        p.end();
        nudges.push_back(bench::nowMs() - t0);
    }
    bench::figure("nudge_apply_ms", bench::median(nudges), "ms");

    // end_detect_late_ms and controller_play_cpu_percent: play the lesson through.
    player.SetCurSentence(0);
    player.SetCurrentPos(0);
    double worstLate = 0;
    int lastSentence = -1;
    QObject::connect(&player, &PlaybackController::viewChanged, [&] {
        if (player.PlayStatus() == Playing && player.CurSentence() != lastSentence
            && player.CurPos() > player.SndLength() - PlaybackController::EndMarginMs) {
            lastSentence = player.CurSentence();
            worstLate = std::max(worstLate, double(player.CurPos() - (player.SndLength() - PlaybackController::EndMarginMs)));
        }
    });
    player.btPlay_Click();
    Wait(1500);
    const double cpu0 = CpuMs();
    const double wall0 = bench::nowMs();
    Wait(8000); // inside one sentence: steady playing
    const double cpuPercent = (CpuMs() - cpu0) / (bench::nowMs() - wall0) * 100.0;
    QElapsedTimer guard;
    guard.start();
    while (player.PlayStatus() == Playing && guard.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (!player.LessonFinished())
        qFatal("the bench lesson did not play to its end");
    bench::figure("end_detect_late_ms", worstLate / player.Rate(), "ms");
    bench::figure("controller_play_cpu_percent", cpuPercent, "%");
    player.CloseForWindow();
    return 0;
}
