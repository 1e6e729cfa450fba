#pragma once
// The picture check boxes of a window: the image controls named `ImgCheckbox`, each
// with a tag and an index tying it to the `lbCheckbox` label of the same index.
// Pictures come from the common skin folder ("checkbox.gif", "checkbox-s.gif",
// "checkbox-d.gif", "checkbox-ds.gif", a PNG of the same name preferred), or from the
// window folder (tag + ".bmp" / tag + "-s.bmp") when InitInterface named one and the
// file is there. Every box starts unchecked. Tags are compared exactly;
// SelectButton with an unknown tag sets box 0, the other operations ignore it.
#include <QPointer>
#include <QString>
#include <QVector>

class QWidget;

namespace mvx {

class SkinImage;

class CCheckboxGroup final
{
public:
    CCheckboxGroup();
    explicit CCheckboxGroup(const QString &skinRoot);

    void InitInterface(const QString &folderName);
    void AddCheckboxes(QWidget *window);
    void SelectButton(const QString &tag, bool checked);
    bool ChangeSelection(const QString &tag); // the new state; false for an unknown tag
    [[nodiscard]] bool IsSelected(const QString &tag) const;
    [[nodiscard]] QWidget *GetLabel(const QString &tag) const;
    [[nodiscard]] SkinImage *GetButton(const QString &tag) const;
    void EnableButton(const QString &tag, bool enabled);
    void HideButton(const QString &tag);
    void ShowButton(const QString &tag);

    [[nodiscard]] int Count() const { return int(m_boxes.size()); }

private:
    [[nodiscard]] int FindTag(const QString &tag) const;
    [[nodiscard]] QWidget *LabelWithIndex(int controlIndex) const;
    void ShowState(int i);

    QString m_skinRoot;
    QString m_commonDir;
    QString m_windowDir;
    QPointer<QWidget> m_window;
    QVector<QPointer<SkinImage>> m_boxes;
    QVector<bool> m_checked;
};

} // namespace mvx
