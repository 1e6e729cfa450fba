#include "ui/WindowSetup.h"

#include "core/AppState.h"
#include "core/Helpers.h"
#include "libs/comm/CommLib.h"
#include "libs/comm/WindowDragFilter.h"
#include "ui/WindowDragger.h"

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace mvx {

namespace {

bool StartsWithAny(const QString &name, std::initializer_list<const char *> prefixes)
{
    for (const char *prefix : prefixes) {
        if (name.startsWith(QLatin1String(prefix)))
            return true;
    }
    return false;
}

void AdjustFont(QWidget *control, double fontFactor)
{
    QFont font = control->font();
    const double size = font.pointSizeF();
    if (size <= 0)
        return; // pixel-sized fonts are left as they are
    const double adapted = AdaptedFontSize(size, fontFactor);
    if (adapted > 0)
        font.setPointSizeF(adapted);
    control->setFont(font);
}

int Scaled(int value, double factor)
{
    return int(std::lround(value / factor));
}

// Design controls are named children; unnamed or "qt_" children are the inner parts
// of composite widgets, which their owners lay out themselves.
bool IsDesignControl(const QWidget *child)
{
    const QString name = child->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

bool IsPlainContainer(const QWidget *child)
{
    const QMetaObject *meta = child->metaObject();
    return meta == &QWidget::staticMetaObject || meta == &QFrame::staticMetaObject
        || meta == &QGroupBox::staticMetaObject;
}

void AdaptControls(QWidget *parent, const ResolutionRule &rule)
{
    for (QObject *object : parent->children()) {
        auto *control = qobject_cast<QWidget *>(object);
        if (!control || control->isWindow() || !IsDesignControl(control))
            continue;
        const QString name = control->objectName();
        const double pf = rule.positionFactor;
        if (StartsWithAny(name, {"line", "Line"})) {
            // Lines: both end points scale.
            control->setGeometry(Scaled(control->x(), pf), Scaled(control->y(), pf),
                                 Scaled(control->width(), pf), Scaled(control->height(), pf));
        } else if (StartsWithAny(name, {"Img", "img", "Image", "pibk", "btFunction"})) {
            // Pictures and picture buttons keep their size; only their place scales.
            if (name.startsWith(QLatin1String("pibkContrast")))
                AdjustFont(control, rule.fontFactor);
            control->move(Scaled(control->x(), pf), Scaled(control->y(), pf));
        } else {
            AdjustFont(control, rule.fontFactor);
            control->setGeometry(Scaled(control->x(), pf), Scaled(control->y(), pf),
                                 Scaled(control->width(), pf), Scaled(control->height(), pf));
        }
        if (IsPlainContainer(control))
            AdaptControls(control, rule);
    }
}

} // namespace

void InstallWindowDragging()
{
    static const bool installed = [] {
        SetMoveWindowHandler([](QObject *window, bool on) {
            if (auto *widget = qobject_cast<QWidget *>(window))
                WindowDragger::Enable(widget, on);
            else
                WindowDragFilter::Apply(window, on); // a bare QWindow
        });
        return true;
    }();
    Q_UNUSED(installed);
}

void SetCaptions(const QString &mainCaption, const QString &dialogCaption)
{
    App().mainCaption = mainCaption;
    App().dialogCaption = dialogCaption;
}

void ApplyMainCaption(QWidget *window)
{
    if (window)
        window->setWindowTitle(App().mainCaption);
}

void ApplyDialogCaption(QWidget *window)
{
    if (window)
        window->setWindowTitle(App().dialogCaption);
}

void CentreWindow(QWidget *window)
{
    if (!window)
        return;
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    const auto [left, top] = CentredTopLeft(area.width(), area.height(), size.width(), size.height());
    window->move(area.left() + left, area.top() + top);
}

void SetUpWindowAt(QWidget *window, bool isDialog, double dpiX, double dpiY, double fontScale)
{
    if (!window)
        return;
    if (isDialog)
        ApplyDialogCaption(window);
    else
        ApplyMainCaption(window);

    const double tppX = dpiX > 0 ? 1440.0 / dpiX : 15;
    const double tppY = dpiY > 0 ? 1440.0 / dpiY : 15;
    ResolutionRule rule = ComputeResolutionRule(tppX, tppY, fontScale);
    if (rule.adapt) {
        // Design geometry is in logical pixels, which Qt itself maps onto the screen, so
        // positions and sizes keep factor 1. Point sizes alone grow with the logical
        // resolution: fonts take the font factor, so text keeps its place in the design.
        rule.positionFactor = 1;
        AdaptControls(window, rule);
    }

    CentreWindow(window);
    InstallWindowDragging();
    vcSetMoveWindowProc(window, -1);
}

void SetUpWindow(QWidget *window, bool isDialog)
{
    if (!window)
        return;
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const double dpiX = screen ? screen->logicalDotsPerInchX() : 96;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : 96;
    SetUpWindowAt(window, isDialog, dpiX, dpiY, SystemFontScale());
}

void StopWindowDrag(QWidget *window)
{
    InstallWindowDragging();
    vcSetMoveWindowProc(window, 0);
}

} // namespace mvx
