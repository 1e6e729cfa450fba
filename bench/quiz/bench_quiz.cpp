// Quiz speed figures with the real generator, book, media back end (dummy driver) and window:
//   quiz_gen_ms        vcGenQuiz of a six-question source into its page (median)
//   quiz_switch_ms     a sentence's end detected by the position tick to the next 10-second
//                      sentence playing: sound cut, opened, started (median)
//   quiz_cut_floor_ms  the cut of a 10-second sentence alone, the floor of the switch (median)
//   quiz_open_ms       the "初听练习" step confirmed to the quiz page shown and the first
//                      sentence ready: window made, shown, lesson opened, quiz made and loaded
//                      (median)
#include "BenchUtil.h"
#include "SentraFixtures.h"

#include "core/AppState.h"
#include "libs/echomax/EchoMaxLib.h"
#include "libs/media/MediaPlayer.h"
#include "libs/sentra/SentraFacade.h"
#include "player/form/BookSoundSource.h"
#include "player/playback/QtPlayerClock.h"
#include "quiz/FirstTestForm.h"
#include "quiz/QuizListening.h"
#include "quiz/QuizPage.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace mvx;

namespace {

const QByteArray SixQuestions = [] {
    QByteArray q = "title: Bench quiz\n";
    for (int i = 0; i < 3; ++i) {
        q += "[question]\ntype: truefalse\ntext: The frog lives in a cloud forest high in the mountains.\n"
             "zh: 这种青蛙生活在高山上的云雾森林里。\nanswer: T\n";
        q += "[question]\ntype: choice\ntext: How big is a grown frog?\nA: As big as a hand.\n"
             "B: Shorter than a fingernail.\nC: As long as a pencil.\nD: As tall as a cup.\nanswer: B\n";
    }
    return q;
}();

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A lesson of count sentences of sentenceMs each, without a title line.
QString makeBook(int count, int sentenceMs)
{
    sentra::LessonData l;
    l.title = QStringLiteral("Bench");
    l.sound = fixtures::toneFile(22050, 1, count * sentenceMs / 1000.0);
    for (int i = 0; i < count; ++i)
        l.sentences << fixtures::sentence(i * sentenceMs, (i + 1) * sentenceMs, QStringLiteral("Sentence %1.").arg(i));
    return fixtures::makeBook(QStringLiteral("bench-quiz.dat"), {l});
}

// Hands the timer ticks to the listening and times the ticks that moved to the next sentence.
class TimingClock final : public PlayerClock
{
public:
    explicit TimingClock(const QuizListening *const &listening) : m_listening(listening) {}
    std::vector<double> switches;

    void SetTimerHandler(std::function<void(PlayerTimer)> handler) override
    {
        if (!handler) {
            m_inner.SetTimerHandler({});
            return;
        }
        m_inner.SetTimerHandler([this, handler](PlayerTimer t) {
            const int before = m_listening ? m_listening->CurSentence() : -1;
            const double start = bench::nowMs();
            handler(t);
            if (t == PlayerTimer::Position && m_listening && m_listening->CurSentence() == before + 1
                && m_listening->StopEnabled())
                switches.push_back(bench::nowMs() - start);
        });
    }
    void SetTimer(PlayerTimer t, bool on) override { m_inner.SetTimer(t, on); }
    [[nodiscard]] bool IsTimerOn(PlayerTimer t) const override { return m_inner.IsTimerOn(t); }
    [[nodiscard]] int IntervalMs(PlayerTimer t) const override { return m_inner.IntervalMs(t); }
    [[nodiscard]] qint64 NowMs() const override { return m_inner.NowMs(); }
    void ProcessEvents() override { m_inner.ProcessEvents(); }

private:
    QtPlayerClock m_inner{QtPlayerClock::QuizPositionMs};
    const QuizListening *const &m_listening;
};

void benchGenerator(const QString &dir)
{
    write(dir + QStringLiteral("/six.txt"), SixQuestions);
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
        const double t0 = bench::nowMs();
        InputError error;
        if (vcGenQuiz(dir + QStringLiteral("/six.txt"), dir + QStringLiteral("/six.htm"), QStringLiteral("标题"), &error)
                .size() != 6)
            qFatal("the generator refused the bench quiz: %s", qPrintable(error.toString()));
        times.push_back(bench::nowMs() - t0);
    }
    bench::figure("quiz_gen_ms", bench::median(times), "ms");
}

void benchSwitch(const QString &home)
{
    constexpr int SentenceMs = 10000;
    constexpr int Sentences = 16;
    const QString book = makeBook(Sentences, SentenceMs);
    const QuizListening *listening = nullptr;
    MediaPlayer media;
    media.setAutoStart(true);
    BookSoundSource sounds;
    TimingClock clock(listening);
    QuizListening quiz(media, sounds, clock, home);
    listening = &quiz;
    quiz.SetMessageHandler([](const QString &text) {
        if (text != QStringLiteral("文章播放完毕，请做题"))
            qFatal("quiz bench: %s", qPrintable(text));
    });
    if (!quiz.OpenLesson(book, 0))
        qFatal("quiz bench: the lesson does not open");
    quiz.btPlay_Click();
    int seekedFor = -1;
    while (quiz.StopEnabled()) {
        // Each sentence is played from 300 ms before its end, so the run takes seconds.
        if (seekedFor != quiz.CurSentence() && media.openState() == MediaPlayerInterface::MediaOpen) {
            seekedFor = quiz.CurSentence();
            media.setCurrentPosition((quiz.SndLength() - 300) / 1000.0);
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    bench::figure("quiz_switch_ms", bench::median(clock.switches), "ms");

    // The floor: the same sentences cut alone.
    const int handle = bcSentraBook_Open(book, QStringLiteral("rb"));
    std::vector<double> cuts;
    for (int i = 0; i < Sentences; ++i) {
        const QString base = home + QStringLiteral("/alltmpfile/benchcut%1").arg(i);
        const double t0 = bench::nowMs();
        sounds.MakeSentenceSound(handle, i, base);
        cuts.push_back(bench::nowMs() - t0);
        QFile::remove(base + QStringLiteral(".wav"));
    }
    bcSentraBook_Close(handle);
    bench::figure("quiz_cut_floor_ms", bench::median(cuts), "ms");
}

void benchOpen(const QString &home)
{
    const QString book = makeBook(12, 4000);
    write(home + QStringLiteral("/quiz/bench-quiz.txt"), SixQuestions);
    std::vector<double> times;
    for (int i = 0; i < 7; ++i) {
        const double t0 = bench::nowMs();
        auto *form = new FirstTestForm();
        form->Load();
        form->show();
        form->OpenLesson(book, 0);
        form->LoadQuiz(QStringLiteral("quiz/bench-quiz.txt"), QStringLiteral("Bench"));
        const double t = bench::nowMs() - t0;
        if (!form->Page().Loaded() || !form->Listening().PlayEnabled())
            qFatal("quiz bench: the window did not get ready");
        times.push_back(t);
        form->close();
        delete form;
        QCoreApplication::processEvents();
    }
    bench::figure("quiz_open_ms", bench::median(times), "ms");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/home");
    QDir().mkpath(home + QStringLiteral("/alltmpfile"));
    QFile::copy(QStringLiteral(MVX_HOME "/blank.wav"), home + QStringLiteral("/blank.wav"));
    qputenv("MVX_TEST_TMP", QFile::encodeName(dir.path()));
    App().appPath = home;
    App().skinRoot = QStringLiteral(MVX_HOME "/ecminterface");
    QDir::setCurrent(home);
    SetMessageBoxHandler([](const QString &text, int) {
        qWarning("quiz bench message: %s", qPrintable(text));
        return -1;
    });
    benchGenerator(dir.path());
    benchSwitch(home);
    benchOpen(home);
    return 0;
}
