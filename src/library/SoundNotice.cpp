#include "SoundNotice.h"

#include "libs/media/AudioOutput.h"
#include "ui/MessageBox.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace mvx {

SoundNotice::SoundNotice(QObject *parent) : QObject(parent)
{
    // The output may tell from another thread: the box is shown from the window thread.
    AudioOutput::setNoticeListener([this](const QString &notice) {
        QMetaObject::invokeMethod(this, [this, notice] { Show(notice); }, Qt::QueuedConnection);
    });
}

SoundNotice::~SoundNotice()
{
    AudioOutput::setNoticeListener({});
}

void SoundNotice::OpenOutputAfterFirstPaint(QWidget *window)
{
    if (window)
        window->installEventFilter(this);
}

bool SoundNotice::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            const QString notice = AudioOutput::shared().notice();
            if (!notice.isEmpty())
                Show(notice);
        });
    }
    return QObject::eventFilter(watched, event);
}

void SoundNotice::Show(const QString &notice)
{
    if (m_shown || notice.isEmpty())
        return;
    m_shown = true;
    ShowMessageBox(notice, 1);
}

} // namespace mvx
