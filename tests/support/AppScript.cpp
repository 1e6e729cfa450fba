#include "AppScript.h"

#include "ui/lgMsgBoxForm.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QtTest>

#include <memory>

namespace mvx::testing {

namespace {

qint64 NowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

bool IsShown(const QWidget *w)
{
    return w && w->isWindow() && w->isVisible() && !w->isMinimized();
}

} // namespace

AppScript::AppScript(QObject *parent) : QObject(parent)
{
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &AppScript::Poll);
}

AppScript &AppScript::Then(const QString &name, Find find, Act act, int timeoutMs)
{
    auto found = std::make_shared<QPointer<QWidget>>();
    m_steps.push_back({name,
                       [find, found] {
                           *found = find();
                           return !found->isNull();
                       },
                       [act, found] {
                           if (*found)
                               act(*found);
                       },
                       timeoutMs});
    return *this;
}

AppScript &AppScript::When(const QString &name, std::function<bool()> ready, std::function<void()> act,
                           int timeoutMs)
{
    m_steps.push_back({name, std::move(ready), std::move(act), timeoutMs});
    return *this;
}

AppScript &AppScript::ExpectBox(const QString &text, bool ok, int timeoutMs)
{
    auto found = std::make_shared<QPointer<QWidget>>();
    m_steps.push_back({QStringLiteral("message “%1”").arg(text),
                       [this, text, found] {
                           QWidget *box = OpenBox();
                           if (!box || Answered(box) || !BoxText(box).contains(text))
                               return false;
                           *found = box;
                           m_answered.emplace_back(box);
                           m_messages << BoxText(box);
                           return true;
                       },
                       [found, ok] {
                           if (*found)
                               ClickButton(*found, ok ? QStringLiteral("btOk") : QStringLiteral("btCancel"));
                       },
                       timeoutMs});
    return *this;
}

void AppScript::Start()
{
    m_stepStarted = NowMs();
    m_poll.start();
}

void AppScript::Poll()
{
    if (!m_failure.isEmpty()) {
        Bail();
        return;
    }
    if (m_next < m_steps.size()) {
        Step &step = m_steps[m_next];
        if (step.ready()) {
            m_done << step.name;
            ++m_next;
            m_stepStarted = NowMs();
            // On its own turn: an action that opens a modal window must not hold this poll.
            QTimer::singleShot(0, this, step.act);
            return;
        }
        if (NowMs() - m_stepStarted > step.timeoutMs) {
            Fail(QStringLiteral("step “%1” did not come within %2 ms").arg(step.name).arg(step.timeoutMs));
            return;
        }
    }
    AnswerStrayBoxes();
}

void AppScript::AnswerStrayBoxes()
{
    QWidget *box = OpenBox();
    if (!box || Answered(box))
        return;
    m_answered.emplace_back(box);
    m_messages << BoxText(box);
    m_unexpected << BoxText(box);
    QPointer<QWidget> target(box);
    QTimer::singleShot(0, this, [target] {
        if (target)
            ClickButton(target, QStringLiteral("btOk"));
    });
}

bool AppScript::Answered(const QWidget *box) const
{
    for (const auto &b : m_answered)
        if (b == box)
            return true;
    return false;
}

void AppScript::Fail(const QString &reason)
{
    m_failure = reason + QStringLiteral(" (done: ") + m_done.join(QStringLiteral(", ")) + QLatin1Char(')');
    Bail();
}

void AppScript::Bail()
{
    // Modal windows first, then the rest; closing the program's last window ends it.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
    for (QWidget *w : QApplication::topLevelWidgets())
        if (IsShown(w))
            w->close();
    QCoreApplication::exit(99);
}

AppScript::Find AppScript::Shown(const char *className)
{
    return [className] { return FindShown(className); };
}

QWidget *AppScript::FindShown(const char *className)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (IsShown(w) && w->inherits(className))
            return w;
    return nullptr;
}

QWidget *AppScript::OpenBox()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (IsShown(w) && qobject_cast<lgMsgBoxForm *>(w))
            return w;
    return nullptr;
}

QString AppScript::BoxText(QWidget *box)
{
    auto *form = qobject_cast<lgMsgBoxForm *>(box);
    return form ? form->MessageLabel()->text() : QString();
}

void AppScript::Click(QWidget *widget)
{
    if (!widget)
        return;
    const QPoint centre = widget->rect().center();
    QTest::mouseMove(widget, centre);
    QTest::mouseClick(widget, Qt::LeftButton, {}, centre);
}

void AppScript::ClickButton(QWidget *window, const QString &tag)
{
    Click(Control(window, QStringLiteral("btFunction"), tag));
}

QWidget *AppScript::Control(QWidget *window, const QString &arrayName, const QString &tag)
{
    if (!window)
        return nullptr;
    for (QWidget *w : window->findChildren<QWidget *>(arrayName))
        if (w->property("tag").toString() == tag)
            return w;
    return nullptr;
}

} // namespace mvx::testing
