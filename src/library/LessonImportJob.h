#pragma once
// Runs a preview (read and check) or an import (read, check, write) of the "添加课文"
// dialog on a thread of its own, so the window stays responsive: progress() tells how
// far reading has come, cancel() stops it before anything is written (a write that has
// begun finishes: the book changes in one transaction), finished() comes back on the
// thread that started the job. An import reuses a preview's reading when the choices
// are the same.
#include "LessonImport.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

namespace mvx {

class LessonImportJob final : public QObject
{
    Q_OBJECT

public:
    enum class Step { Preview, Import };

    explicit LessonImportJob(LessonImport import, QObject *parent = nullptr);
    ~LessonImportJob() override; // cancels and waits for the thread

    // Starts a step; false when one is still running.
    bool start(Step step, const LessonChoices &choices);
    void cancel() { m_cancel = true; }
    [[nodiscard]] bool isRunning() const { return m_thread != nullptr; }

    // The outcome of the last finished step.
    [[nodiscard]] Step step() const { return m_step; }
    [[nodiscard]] const InputError &error() const { return m_error; }
    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    [[nodiscard]] const LessonPlan &plan() const { return m_plan; }
    [[nodiscard]] const MakeBookResult &result() const { return m_result; }
    [[nodiscard]] QString articleKey() const;
    [[nodiscard]] const LessonImport &import() const { return m_import; }

signals:
    void progress(int percent);
    void finished();

private:
    void run(); // on the job's thread
    void done();

    LessonImport m_import;
    Step m_step = Step::Preview;
    LessonChoices m_choices;
    LessonChoices m_preparedFor;
    bool m_prepared = false;
    std::atomic<bool> m_cancel{false};
    QThread *m_thread = nullptr;
    InputError m_error;
    bool m_cancelled = false;
    LessonPlan m_plan;
    MakeBookResult m_result;
};

} // namespace mvx
