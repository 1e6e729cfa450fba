#include "ui/SkinImage.h"

#include "ui/SkinPictures.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace mvx {

SkinImage::SkinImage(QWidget *parent, const QString &arrayName, int index, const QString &tag)
    : QWidget(parent), m_index(index), m_tag(tag)
{
    setObjectName(arrayName);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
}

bool SkinImage::loadPicture(const QString &path)
{
    const QPixmap picture = skin::LoadPicture(path, devicePixelRatioF());
    if (picture.isNull())
        return false;
    setPicture(picture);
    m_picturePath = path;
    return true;
}

void SkinImage::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    m_picturePath.clear();
    if (!m_stretch && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
    update();
}

void SkinImage::setStretch(bool stretch)
{
    m_stretch = stretch;
    if (!m_stretch && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
    update();
}

QSize SkinImage::sizeHint() const
{
    return m_picture.isNull() ? QWidget::sizeHint() : m_picture.deviceIndependentSize().toSize();
}

void SkinImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_stretch)
        painter.drawPixmap(rect(), m_picture);
    else
        painter.drawPixmap(QPoint(0, 0), m_picture);
}

void SkinImage::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseMoved(this);
}

void SkinImage::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_leftDown = true;
    emit mousePressed(this, event->button());
}

void SkinImage::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    // Decide "inside" before the handlers move the control back from its pressed place.
    const bool inside = rect().contains(event->position().toPoint());
    const bool wasLeftDown = m_leftDown && event->button() == Qt::LeftButton;
    if (event->button() == Qt::LeftButton)
        m_leftDown = false;
    QPointer<SkinImage> self(this);
    emit mouseReleased(this, event->button());
    if (self && wasLeftDown && inside && isEnabled())
        emit clicked(this);
}

int ControlIndex(const QObject *control)
{
    if (!control)
        return -1;
    const QVariant value = control->property("index");
    bool ok = false;
    const int index = value.toInt(&ok);
    return value.isValid() && ok ? index : -1;
}

QString ControlTag(const QObject *control)
{
    return control ? control->property("tag").toString() : QString();
}

} // namespace mvx
