#pragma once
// An image control of a skinned window: a picture button (`btFunction`), an option
// or check-box picture (`ImgOp...`, `ImgCheckbox`) or a plain picture. It is one
// member of a control array: its objectName is the array name, and its `index` and
// `tag` properties tell the members apart.
//
// Without stretching the control takes the logical size of its picture (pictures
// made for 2x screens show at their 1x size). It reports pointer movement (mouse
// tracking is on), presses and releases of any mouse button and, for the left
// button, a click when the release happens inside the control.
#include <QPixmap>
#include <QWidget>

namespace mvx {

class SkinImage : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int index READ index WRITE setIndex)
    Q_PROPERTY(QString tag READ tag WRITE setTag)

public:
    SkinImage(QWidget *parent, const QString &arrayName, int index, const QString &tag);

    [[nodiscard]] int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }
    [[nodiscard]] QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // Loads the picture file for this control's screen. Returns false and keeps the
    // present picture when the file is missing or cannot be decoded.
    bool loadPicture(const QString &path);
    void setPicture(const QPixmap &picture);
    [[nodiscard]] QPixmap picture() const { return m_picture; }
    // The file of the picture shown ("" for a picture set in code or none).
    [[nodiscard]] QString picturePath() const { return m_picturePath; }

    // Stretched pictures fill the control; otherwise the control follows the picture.
    void setStretch(bool stretch);
    [[nodiscard]] bool stretch() const { return m_stretch; }

    [[nodiscard]] QSize sizeHint() const override;

signals:
    void mouseMoved(mvx::SkinImage *self);
    void mousePressed(mvx::SkinImage *self, Qt::MouseButton button);
    void mouseReleased(mvx::SkinImage *self, Qt::MouseButton button);
    void clicked(mvx::SkinImage *self);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_index;
    QString m_tag;
    QPixmap m_picture;
    QString m_picturePath;
    bool m_stretch = false;
    bool m_leftDown = false;
};

// Index and tag of any control of an array (SkinImage or a label carrying the
// `index` and `tag` properties); -1 and "" when it has none.
[[nodiscard]] int ControlIndex(const QObject *control);
[[nodiscard]] QString ControlTag(const QObject *control);

} // namespace mvx
