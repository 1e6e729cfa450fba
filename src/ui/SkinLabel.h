#pragma once
// A text label that takes part in the skinned wiring: option and check-box labels
// (`lbOp...`, `lbCheckbox`) and link labels (`lbLink`). Like SkinImage it is one
// member of a control array (objectName, `index` and `tag` properties) and reports
// pointer movement, presses, releases and left clicks. A plain caption needs no
// SkinLabel: an ordinary QLabel lets presses through, so the window can be dragged
// by it.
#include <QLabel>

namespace mvx {

class SkinLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(int index READ index WRITE setIndex)
    Q_PROPERTY(QString tag READ tag WRITE setTag)

public:
    SkinLabel(QWidget *parent, const QString &arrayName, int index, const QString &tag,
              const QString &text = QString());

    [[nodiscard]] int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }
    [[nodiscard]] QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

signals:
    void mouseMoved(mvx::SkinLabel *self);
    void mousePressed(mvx::SkinLabel *self, Qt::MouseButton button);
    void mouseReleased(mvx::SkinLabel *self, Qt::MouseButton button);
    void clicked(mvx::SkinLabel *self);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_index;
    QString m_tag;
    bool m_leftDown = false;
};

} // namespace mvx
