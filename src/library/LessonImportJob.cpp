#include "LessonImportJob.h"

namespace mvx {

LessonImportJob::LessonImportJob(LessonImport import, QObject *parent) : QObject(parent), m_import(std::move(import))
{
}

LessonImportJob::~LessonImportJob()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

bool LessonImportJob::start(Step step, const LessonChoices &choices)
{
    if (m_thread)
        return false;
    m_step = step;
    m_choices = choices;
    m_cancel = false;
    m_cancelled = false;
    m_error = {};
    m_result = {};
    m_thread = QThread::create([this] { run(); });
    connect(m_thread, &QThread::finished, this, &LessonImportJob::done); // queued: back on our thread
    m_thread->start();
    return true;
}

void LessonImportJob::run()
{
    const MakeBookProgress progress = [this](int percent) {
        QMetaObject::invokeMethod(this, [this, percent] { emit this->progress(percent); }, Qt::QueuedConnection);
        return !m_cancel.load();
    };
    const bool reuse = m_step == Step::Import && m_prepared && m_preparedFor == m_choices;
    if (!reuse) {
        m_prepared = false;
        m_error = m_import.prepare(m_choices, m_plan, progress);
        if (m_error.isError()) {
            m_cancelled = m_error.file.isEmpty() && m_error.message == BookMaker::CancelledMessage;
            m_result.error = m_error;
            return;
        }
        m_prepared = true;
        m_preparedFor = m_choices;
    }
    if (m_step == Step::Preview)
        return;
    if (m_cancel) {
        m_cancelled = true;
        m_error = m_result.error = {{}, 0, BookMaker::CancelledMessage};
        return;
    }
    m_result = m_import.commit(m_choices, m_plan);
    m_error = m_result.error;
    m_prepared = false; // the book has changed: a second import reads again
}

void LessonImportJob::done()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    emit finished();
}

QString LessonImportJob::articleKey() const
{
    return m_import.articleKey(m_plan, m_result);
}

} // namespace mvx
