#include "ui/SkinnedWindow.h"

#include "core/AppState.h"
#include "ui/CallByName.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"
#include "ui/SkinPictures.h"
#include "ui/SkinPalette.h"
#include "ui/Twips.h"
#include "ui/WindowSetup.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace mvx {

namespace {
const char *const kBackgroundProperty = "mvxSkinBackground";
const char *const kWiredProperty = "mvxWired";
} // namespace

SkinnedWindow::SkinnedWindow(const QString &formName, bool isDialog, QWidget *parent)
    : QDialog(parent), m_formName(formName), m_isDialog(isDialog)
{
    setObjectName(formName);
    Qt::WindowFlags flags = Qt::FramelessWindowHint;
    flags |= isDialog ? Qt::Dialog : (Qt::Window | Qt::WindowMinMaxButtonsHint);
    setWindowFlags(flags);
    setMouseTracking(true);
    // Picture buttons explain themselves by their tips, also while another window (or none,
    // as on a display without a window manager) is the active one.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAttribute(Qt::WA_StyledBackground, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, skin::palette::Text);
    setPalette(palette);
}

SkinnedWindow::~SkinnedWindow()
{
    if (m_loaded)
        StopWindowDrag(this);
}

void SkinnedWindow::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    SetUpWindow(this, m_isDialog);
    m_interface = std::make_unique<CInterface>();
    m_interface->InitInterface(this, m_formName);
    for (SkinImage *button : findChildren<SkinImage *>(QStringLiteral("btFunction")))
        WireButton(button);
    LoadBackground();
    if (auto *title = findChild<QLabel *>(QStringLiteral("lbTitle"), Qt::FindDirectChildrenOnly);
        title && m_titleBandPixels > title->y()) {
        QPalette palette = title->palette();
        palette.setColor(QPalette::WindowText, skin::palette::TitleText);
        title->setPalette(palette);
    }
    Form_Load();
}

void SkinnedWindow::Unload()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    Form_Unload();
    m_interface.reset();
    StopWindowDrag(this);
}

void SkinnedWindow::LoadBackground()
{
    const QString path = skin::FindPicture(skin::WindowFolder(App().skinRoot, m_formName), QString(),
                                           QStringLiteral("background"));
    m_background = skin::LoadPicture(path, devicePixelRatioF());
    update();
}

void SkinnedWindow::SetDesignSize(int widthTwips, int heightTwips)
{
    resize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
}

SkinImage *SkinnedWindow::AddButton(const QString &tag, int left, int top, int width, int height)
{
    auto *button = new SkinImage(this, QStringLiteral("btFunction"), m_nextButtonIndex++, tag);
    button->setGeometry(TwipsRect(left, top, width, height));
    button->setCursor(Qt::PointingHandCursor);
    if (m_loaded)
        WireButton(button);
    return button;
}

SkinImage *SkinnedWindow::AddImage(const QString &arrayName, int index, const QString &tag, int left, int top,
                                   int width, int height)
{
    auto *image = new SkinImage(this, arrayName, index, tag);
    image->setGeometry(TwipsRect(left, top, width, height));
    return image;
}

QLabel *SkinnedWindow::AddLabel(const QString &name, const QString &text, int left, int top, int width,
                                int height)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(TwipsRect(left, top, width, height));
    return label;
}

SkinLabel *SkinnedWindow::AddSkinLabel(const QString &arrayName, int index, const QString &tag,
                                       const QString &text, int left, int top, int width, int height)
{
    auto *label = new SkinLabel(this, arrayName, index, tag, text);
    label->setGeometry(TwipsRect(left, top, width, height));
    return label;
}

void SkinnedWindow::WireButton(SkinImage *button)
{
    if (!button || button->property(kWiredProperty).toBool())
        return;
    button->setProperty(kWiredProperty, true);
    connect(button, &SkinImage::mouseMoved, this, [this](SkinImage *b) {
        if (m_interface)
            m_interface->ButtonEnter(b);
    });
    connect(button, &SkinImage::mousePressed, this, [this](SkinImage *b, Qt::MouseButton) {
        if (m_interface)
            m_interface->ButtonDown(b);
    });
    connect(button, &SkinImage::mouseReleased, this, [this](SkinImage *b, Qt::MouseButton) {
        if (m_interface)
            m_interface->ButtonUp(b);
    });
    connect(button, &SkinImage::clicked, this, [this](SkinImage *b) { DispatchClick(b->tag()); });
}

bool SkinnedWindow::DispatchClick(const QString &tag)
{
    return CallMethodByName(this, tag + QStringLiteral("_click"));
}

void SkinnedWindow::MarkAsBackground(QWidget *child)
{
    if (child) {
        child->setProperty(kBackgroundProperty, true);
        child->setMouseTracking(false); // let its moves reach the window
    }
}

void SkinnedWindow::SetTitleBandHeight(int twips)
{
    m_titleBandPixels = TwipsToPixels(twips);
    update();
}

void SkinnedWindow::btWinMin_click()
{
    showMinimized();
}

void SkinnedWindow::btWinMax_click()
{
    showMaximized();
}

void SkinnedWindow::btWinNormal_click()
{
    showNormal();
}

bool SkinnedWindow::Form_KeyDown(QKeyEvent *)
{
    return false;
}

void SkinnedWindow::done(int result)
{
    Unload();
    QDialog::done(result);
}

void SkinnedWindow::showEvent(QShowEvent *event)
{
    Load();
    QDialog::showEvent(event);
}

void SkinnedWindow::closeEvent(QCloseEvent *event)
{
    // Closed by the window system: leave through the window's own close button.
    if (!m_inLeaveAction && m_loaded && isVisible() && HasMethodByName(this, QStringLiteral("btWinClose_click"))) {
        m_inLeaveAction = true;
        DispatchClick(QStringLiteral("btWinClose"));
        m_inLeaveAction = false;
        // A leave action that hid the window closed it for good (a window deleted on close
        // goes now); one that kept it open (a question answered No) keeps it.
        event->setAccepted(!isVisible());
        return;
    }
    QDialog::closeEvent(event);
}

// The background at its own size. A window taller or shorter than its picture (a message
// box sized to its text) keeps the picture's top and bottom edges: the upper half comes from
// the picture's top, the lower half from its bottom, and a taller window stretches the
// picture's middle row between them.
void SkinnedWindow::DrawBackground(QPainter &painter)
{
    const qreal ratio = m_background.devicePixelRatio();
    const QSizeF picture = m_background.deviceIndependentSize();
    const qreal h = height();
    if (qFuzzyCompare(picture.height(), h) || picture.height() < 2) {
        painter.drawPixmap(QPoint(0, 0), m_background);
        return;
    }
    const qreal w = picture.width();
    const qreal half = std::floor(std::min(h, picture.height()) / 2);
    const auto source = [ratio, w](qreal top, qreal height) { return QRectF(0, top * ratio, w * ratio, height * ratio); };
    painter.drawPixmap(QRectF(0, 0, w, half), m_background, source(0, half));
    const qreal bottom = std::min(h, picture.height()) - half;
    painter.drawPixmap(QRectF(0, h - bottom, w, bottom), m_background, source(picture.height() - bottom, bottom));
    if (h > picture.height())
        painter.drawPixmap(QRectF(0, half, w, h - half - bottom), m_background, source(std::floor(picture.height() / 2), 1));
}

void SkinnedWindow::keyPressEvent(QKeyEvent *event)
{
    if (Form_KeyDown(event)) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept(); // a skinned window has no default or cancel button
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent *event)
{
    QWidget *child = childAt(event->position().toPoint());
    bool overBackground = child == nullptr;
    for (QWidget *w = child; w && w != this && !overBackground; w = w->parentWidget())
        overBackground = w->property(kBackgroundProperty).toBool();
    if (overBackground && m_interface)
        m_interface->ClearCurButton();
    QDialog::mouseMoveEvent(event);
}

void SkinnedWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_background.isNull()) {
        painter.fillRect(rect(), skin::palette::Window);
        DrawBackground(painter);
        return;
    }
    painter.fillRect(rect(), skin::palette::Window);
    if (m_titleBandPixels > 0)
        painter.fillRect(QRect(0, 0, width(), m_titleBandPixels), skin::palette::TitleBand);
    painter.setPen(skin::palette::Border);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace mvx
