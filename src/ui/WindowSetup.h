#pragma once
// The set-up every skinned window runs when it loads, and its undoing at unload.
//
// SetUpWindow(window, isDialog): caption (DialogCaption for dialogs, MainCaption for
// the main windows), adaptation to the screen's resolution where Qt's own scaling does
// not cover it (at 96 logical dots per inch nothing changes; elsewhere positions and
// sizes stay, being logical pixels already, and fonts are divided by the desktop font
// scale), centring on the screen, and dragging the frameless window by its body.
// It never fails: controls without a font or a position are passed over.
// StopWindowDrag(window) switches the dragging off again. Both go through the common
// library's vcSetMoveWindowProc.
class QString;
class QWidget;

namespace mvx {

void SetUpWindow(QWidget *window, bool isDialog);
// The same with the screen's logical dots per inch and the desktop font scale given,
// so that other resolutions can be checked.
void SetUpWindowAt(QWidget *window, bool isDialog, double dpiX, double dpiY, double fontScale);
void StopWindowDrag(QWidget *window);
// The two captions (start-up sets them once) and applying one to a window.
void SetCaptions(const QString &mainCaption, const QString &dialogCaption);
void ApplyMainCaption(QWidget *window);
void ApplyDialogCaption(QWidget *window);
// Centres the window on its screen (the primary screen when it has none yet).
void CentreWindow(QWidget *window);

// Registers the toolkit's dragging of frameless widget windows as the common
// library's move-window handler (vcSetMoveWindowProc). SetUpWindow does it on first
// use; calling it again does nothing.
void InstallWindowDragging();

} // namespace mvx
