#pragma once
// Base of every skinned window: a frameless window whose commands are picture
// buttons (the `btFunction` control array) skinned from SkinRoot/<FormName>/ and the
// common folder, with the standard wiring done once here:
//  - Load() (also run by the first show): SetUpWindow (caption, resolution,
//    centring, dragging), a fresh CInterface over the window's buttons, the button
//    signals wired (hover, press, release), then the window's own Form_Load().
//  - A click on a button calls the window's Q_INVOKABLE method named tag + "_click",
//    matched without case (btPlay -> btPlay_Click). A tag without such a method only
//    logs a warning.
//  - Pointer movement over the bare background (or a child marked with
//    MarkAsBackground) clears the hover look; over labels it does not.
//  - Unload, when the window is closed (close(), accept(), reject(), done()):
//    Form_Unload(), the CInterface dropped, dragging off. Closing by the window
//    system (Alt+F4) runs btWinClose_click first when the window has one, so it
//    leaves exactly as through its close button.
//  - Keys go to Form_KeyDown(); Enter and Escape do nothing unless it handles them.
//  - btWinMin, btWinMax and btWinNormal minimise, maximise and restore the window
//    unless the window has its own click methods for them; btWinClose has no default.
// Design geometry is given in twips (15 twips = 1 pixel). Pictures of the window:
// "background" in its folder (drawn at its own size at the top left, its top and bottom
// edges kept when the window is of another height; without one the window paints the calm
// default chrome), and the buttons' own pictures.
//
// Example: a dialog with an OK and a Cancel button.
//
//   class SearchForm final : public mvx::SkinnedWindow {
//       Q_OBJECT
//   public:
//       SearchForm() : SkinnedWindow(QStringLiteral("SearchForm"), /*isDialog=*/true) {
//           SetDesignSize(5400, 2400);                          // twips
//           AddLabel(QStringLiteral("lbTitle"), QStringLiteral("查找"), 120, 60, 3000, 300);
//           AddButton(QStringLiteral("btWinClose"), 5000, 60, 300, 300);
//           AddButton(QStringLiteral("btOk"), 2700, 1900, 1125, 330);  // btFunction(1)
//           AddButton(QStringLiteral("btCancel"), 4000, 1900, 1125, 330);
//       }
//       Q_INVOKABLE void btOk_click() { /* search */ accept(); }
//       Q_INVOKABLE void btCancel_click() { reject(); }
//       Q_INVOKABLE void btWinClose_click() { btCancel_click(); }
//   protected:
//       void Form_Load() override { Skin()->EnableButton(QStringLiteral("btOk"), false); }
//   };
//   // SearchForm form; form.Load(); ...; form.exec();    (modal)  or form.show();
#include "ui/CInterface.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPainter;

namespace mvx {

class SkinImage;
class SkinLabel;

class SkinnedWindow : public QDialog
{
    Q_OBJECT

public:
    SkinnedWindow(const QString &formName, bool isDialog, QWidget *parent = nullptr);
    ~SkinnedWindow() override;

    [[nodiscard]] QString FormName() const { return m_formName; }
    [[nodiscard]] bool IsDialogWindow() const { return m_isDialog; }

    // Runs the load once (again after an unload); later calls do nothing.
    void Load();
    [[nodiscard]] bool IsLoaded() const { return m_loaded; }
    // The window's button set; null before Load and after unload.
    [[nodiscard]] CInterface *Skin() const { return m_interface.get(); }

    // Design size and controls, all in twips. AddButton appends the next btFunction
    // member (index 0, 1, ...); its size follows its picture once one is loaded.
    void SetDesignSize(int widthTwips, int heightTwips);
    SkinImage *AddButton(const QString &tag, int left, int top, int width, int height);
    SkinImage *AddImage(const QString &arrayName, int index, const QString &tag, int left, int top,
                        int width, int height);
    QLabel *AddLabel(const QString &name, const QString &text, int left, int top, int width, int height);
    SkinLabel *AddSkinLabel(const QString &arrayName, int index, const QString &tag, const QString &text,
                            int left, int top, int width, int height);

    // Wires a btFunction member created after Load (those present at Load are wired then).
    void WireButton(SkinImage *button);
    // Calls tag + "_click"; false when the window has no such method.
    bool DispatchClick(const QString &tag);
    // Pointer movement over this child clears the hover look, as over the background.
    static void MarkAsBackground(QWidget *child);
    // Height (twips) of the default chrome's title band; 0 for none. Default 450.
    void SetTitleBandHeight(int twips);

    // Window-control buttons every window shares (a window may define its own).
    Q_INVOKABLE void btWinMin_click();
    Q_INVOKABLE void btWinMax_click();
    Q_INVOKABLE void btWinNormal_click();

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // Return true when the key was handled.
    virtual bool Form_KeyDown(QKeyEvent *event);

    void done(int result) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Unload();
    void LoadBackground();
    void DrawBackground(QPainter &painter);

    QString m_formName;
    bool m_isDialog;
    bool m_loaded = false;
    bool m_inLeaveAction = false;
    int m_nextButtonIndex = 0;
    int m_titleBandPixels = 30;
    std::unique_ptr<CInterface> m_interface;
    QPixmap m_background;
};

} // namespace mvx
