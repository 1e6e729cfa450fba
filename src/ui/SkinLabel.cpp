#include "ui/SkinLabel.h"

#include <QMouseEvent>
#include <QPointer>

namespace mvx {

SkinLabel::SkinLabel(QWidget *parent, const QString &arrayName, int index, const QString &tag,
                     const QString &text)
    : QLabel(text, parent), m_index(index), m_tag(tag)
{
    setObjectName(arrayName);
    setMouseTracking(true);
}

void SkinLabel::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseMoved(this);
}

void SkinLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_leftDown = true;
    emit mousePressed(this, event->button());
}

void SkinLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool inside = rect().contains(event->position().toPoint());
    const bool wasLeftDown = m_leftDown && event->button() == Qt::LeftButton;
    if (event->button() == Qt::LeftButton)
        m_leftDown = false;
    QPointer<SkinLabel> self(this);
    emit mouseReleased(this, event->button());
    if (self && wasLeftDown && inside && isEnabled())
        emit clicked(this);
}

} // namespace mvx
