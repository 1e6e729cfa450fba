#pragma once
// Drives a whole program under its real event loop, as a learner would: a queue of steps,
// each waiting for a condition (a window of a class shown, a message box up, a state
// reached) and then acting on what it found. The conditions are polled every few
// milliseconds from whichever event loop runs, modal ones included, and each step has a
// time-out. Actions run on their own turn of the event loop, so an action that opens a
// modal window does not stop the polling.
//
// The skinned message boxes are answered here: a step may wait for one (ExpectBox checks
// its text and clicks OK or Cancel); a box that no step waits for is noted in Unexpected()
// and answered OK so the run goes on. Messages() lists every box seen, in order.
//
// A step that times out fails the run: from then on every shown window is closed and
// every event loop left until the program returns, so a test never hangs. Check
// Finished() and Failure() after the program returned.
//
//   AppScript script;
//   script.Then("library shown", AppScript::Shown("mvx::ArticleForm"),
//               [](QWidget *w) { AppScript::ClickButton(w, "btExit"); });
//   script.Start();
//   const int code = RunProgramShell(home, {});
//   QVERIFY2(script.Finished(), qPrintable(script.Failure()));
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <vector>

class QWidget;

namespace mvx::testing {

class AppScript final : public QObject
{
    Q_OBJECT

public:
    using Find = std::function<QWidget *()>;
    using Act = std::function<void(QWidget *)>;
    static constexpr int DefaultTimeoutMs = 30000;
    static constexpr int PollMs = 20;

    explicit AppScript(QObject *parent = nullptr);

    // Waits until find() returns a widget, then runs act(widget).
    AppScript &Then(const QString &name, Find find, Act act, int timeoutMs = DefaultTimeoutMs);
    // Waits until ready() is true, then runs act.
    AppScript &When(const QString &name, std::function<bool()> ready, std::function<void()> act,
                    int timeoutMs = DefaultTimeoutMs);
    // Waits for a skinned message box whose text contains `text` and answers it.
    AppScript &ExpectBox(const QString &text, bool ok = true, int timeoutMs = DefaultTimeoutMs);

    void Start();
    [[nodiscard]] bool Finished() const { return m_next >= m_steps.size() && m_failure.isEmpty(); }
    [[nodiscard]] QString Failure() const { return m_failure; }
    [[nodiscard]] QStringList Messages() const { return m_messages; }
    [[nodiscard]] QStringList Unexpected() const { return m_unexpected; }
    // The steps done so far, by name (for failure messages).
    [[nodiscard]] QStringList Done() const { return m_done; }

    // Finders and actions for the steps.
    // A shown (visible, not minimised) top-level window that inherits className.
    static Find Shown(const char *className);
    static QWidget *FindShown(const char *className);
    // The skinned message box that is up, or null.
    static QWidget *OpenBox();
    static QString BoxText(QWidget *box);
    // A real press and release of the left button in the middle of the widget.
    static void Click(QWidget *widget);
    // Clicks the window's picture button with this tag (btFunction member).
    static void ClickButton(QWidget *window, const QString &tag);
    // A picture or label of the window by control array and tag (ImgOpMode, lbOpMode, ...).
    static QWidget *Control(QWidget *window, const QString &arrayName, const QString &tag);

private:
    struct Step
    {
        QString name;
        std::function<bool()> ready;
        std::function<void()> act;
        int timeoutMs;
    };

    void Poll();
    void Fail(const QString &reason);
    void AnswerStrayBoxes();
    [[nodiscard]] bool Answered(const QWidget *box) const;
    void Bail();

    QTimer m_poll;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    qint64 m_stepStarted = 0;
    QString m_failure;
    QStringList m_messages;
    QStringList m_unexpected;
    QStringList m_done;
    std::vector<QPointer<QWidget>> m_answered;
};

} // namespace mvx::testing
