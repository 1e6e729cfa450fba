#pragma once
// A set of picture options of which one is chosen: the image controls of one array
// (named "ImgOp..."), each with a tag and an index tying it to the label of the same
// index in the companion array ("lb" + the array name without its first three
// characters, e.g. ImgOpMode -> lbOpMode). Pictures come from the common skin folder
// ("radio.gif", "radio-s.gif", "radio-d.gif", "radio-ds.gif", a PNG of the same name
// preferred). An option added without a picture shows "radio.gif". Selecting by an
// unknown tag, index or picture chooses option 0; nothing is chosen (-1) until the window
// selects an option. Tags are compared exactly.
#include <QPointer>
#include <QString>
#include <QVector>

class QWidget;

namespace mvx {

class SkinImage;

class CRadioGroup final
{
public:
    CRadioGroup();
    explicit CRadioGroup(const QString &skinRoot);

    void AddRadioButton(SkinImage *image);
    void AddRadioButtons(QWidget *window, const QString &arrayName);
    void InitInterface(const QString &folderName);
    void SelectButton1(const QString &tag);
    void SelectButton2(int position);
    [[nodiscard]] int GetSelectedIdx() const; // control-array index, -1 when none
    void SelectButton3(const QString &tag);
    [[nodiscard]] int GetInternalIdx(int controlIndex) const; // -1 when absent
    void SelectButtonByIdx(int controlIndex);
    void SelectButton(const QString &tag);
    [[nodiscard]] bool IsSelected(const QString &tag) const;
    [[nodiscard]] bool IsSelectedByImg(const SkinImage *image) const;
    void SelectButtonByImg(SkinImage *image);
    [[nodiscard]] QString GetSelectedTag() const;
    [[nodiscard]] SkinImage *GetButton(const QString &tag) const;
    void EnableButton(const QString &tag, bool enabled);
    void HideButton(const QString &tag);
    void ShowButton(const QString &tag);
    [[nodiscard]] QWidget *GetLabel(const QString &tag) const;
    void HideAll();
    void ShowAll();
    void ClearSelection();

    [[nodiscard]] int Count() const { return int(m_options.size()); }

private:
    [[nodiscard]] int FindTag(const QString &tag) const; // -1 when absent
    [[nodiscard]] QWidget *LabelWithIndex(int controlIndex) const;
    // Makes option `position` the chosen one, showing `releasedPicture` on the one
    // released and `chosenPicture` on the new one.
    void Choose(int position, const QString &releasedPicture, const QString &chosenPicture);
    [[nodiscard]] QString Common(const QString &name) const;

    QString m_commonDir;
    QString m_skinRoot;
    QString m_windowDir;
    QString m_arrayName;
    QString m_labelName;
    QPointer<QWidget> m_window;
    QVector<QPointer<SkinImage>> m_options;
    int m_chosen = -1;
};

} // namespace mvx
