#pragma once
// The picture buttons of one skinned window: finds the window's `btFunction`
// members, loads their pictures from the window's skin folder (then the common
// folder), and drives their normal, hover ("-a"), pressed ("-p") and disabled ("-d")
// looks from the window's pointer events. Buttons are addressed by tag (exact,
// case-sensitive). At most one button shows the hover look: the current one.
//
// Calling order: InitInterface once when the window loads (after its layout has been
// scaled), then any of the others. A tag that no button bears, or a button that
// InitInterface did not find, makes an operation do nothing. Positions are the
// buttons' widget positions in logical pixels (one pixel = 15 twips); a skin without
// a pressed picture shifts the pressed button by one pixel and puts it back exactly
// where it rests on release.
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QVector>

#include "ui/SkinImage.h"

namespace mvx {

class CInterface final
{
public:
    // Skin root defaults to the process-wide SkinRoot.
    CInterface();
    explicit CInterface(const QString &skinRoot);

    void ButtonEnter(SkinImage *button);
    void ButtonDown(SkinImage *button);
    void VerticalButtonDown(SkinImage *button);
    void ButtonUp(SkinImage *button);
    void DisableButton(SkinImage *button); // disabled picture only; the enabled state stays
    void ClearCurButton();
    void EnableButton(const QString &tag, bool enabled);
    [[nodiscard]] QString InterfaceDir() const { return m_interfaceDir; }
    void SetInterfaceDir(const QString &dir) { m_interfaceDir = dir; }
    void RecountPos(const QString &tag);
    void InitInterface(QWidget *window, const QString &folderName);
    [[nodiscard]] SkinImage *GetButton(const QString &tag) const;
    void HideButton(const QString &tag);
    void ShowButton(const QString &tag);
    void OverlapButton(const QString &tag1, const QString &tag2);

    [[nodiscard]] QString CommonDir() const { return m_commonDir; }
    [[nodiscard]] int Count() const { return int(m_buttons.size()); }
    [[nodiscard]] SkinImage *CurrentButton() const { return m_current; }
    // Rest position of a button found by InitInterface; (-1, -1) when it is not one.
    [[nodiscard]] QPoint RestPosition(const QString &tag) const;

private:
    void Shift(SkinImage *button, int dx, int dy);
    [[nodiscard]] int ButtonIndex(const SkinImage *button) const; // -1 when absent
    [[nodiscard]] QString FindPicture(const QString &baseName) const;
    bool Show(SkinImage *button, const QString &baseName) const;

    QString m_skinRoot;
    QString m_commonDir;
    QString m_interfaceDir;
    QPointer<QWidget> m_owner;
    QVector<QPointer<SkinImage>> m_buttons;
    QVector<QPoint> m_rest;
    QPointer<SkinImage> m_current;
};

} // namespace mvx
