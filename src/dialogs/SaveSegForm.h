#pragma once
// The excerpt dialog: where the excerpt goes (the program's own listening reviewer, which
// needs a name, or the separately installed sentence memoriser) and under which name.
// OK closes the dialog; the choice is carried out by RunChoice() once exec() has returned:
// it stores SaveSegDest and calls the calling window's DigestSeg(name) or DigestToSentra()
// by name, or offers the memoriser's introduction when it is not installed.
//
// Usage by the player:
//   SaveSegForm dialog(this);
//   dialog.Load(); dialog.SetCallingForm(this); dialog.SetFileName(name);
//   dialog.exec(); dialog.RunChoice();
#include "ui/CRadioGroup.h"
#include "ui/SkinnedWindow.h"

#include <QPointer>

class QLabel;
class QLineEdit;

namespace mvx {

class SaveSegForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    enum class Choice { None, Reviewer, Sentra, Introduction };

    explicit SaveSegForm(QWidget *parent = nullptr);

    void SetCallingForm(QObject *form) { m_caller = form; }
    // Puts the proposed name into teFileName, selected whole while Reviewer is chosen.
    void SetFileName(const QString &name);
    [[nodiscard]] QString SelectedDest() const { return m_options.GetSelectedTag(); }
    [[nodiscard]] bool NameBoxVisible() const;
    [[nodiscard]] Choice PendingChoice() const { return m_choice; }
    // Carries out what OK chose (nothing after Cancel); call after exec() returns.
    void RunChoice();

    // The memoriser counts as installed when its install folder is set and exists.
    [[nodiscard]] static bool SentraInstalled();
    // The Yes/No introduction offer; Yes opens its help page.
    static void OfferIntroduction();

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();
    Q_INVOKABLE void ImgOpMode_MouseDown(int index);
    Q_INVOKABLE void lbOpMode_MouseDown(int index);

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    void ChooseDest(const QString &tag);
    void ShowNameBox(bool shown);

    CRadioGroup m_options;
    QPointer<QObject> m_caller;
    QLabel *m_label1 = nullptr;
    QLineEdit *m_name = nullptr;
    Choice m_choice = Choice::None;
    QString m_chosenName;
};

} // namespace mvx
