#include "launcher/SpiritMenu.h"

#include "core/PictureFiles.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace mvx::spirit {

namespace {

// The logical size of an item's picture: 165 x 21, wider only for a long notebook line.
QSize PictureSize(const QIcon &icon)
{
    return icon.actualSize(QSize(4 * kItemWidth, kItemHeight));
}

} // namespace

MenuPictureStyle::MenuPictureStyle() = default;

QSize MenuPictureStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                         const QWidget *widget) const
{
    if (type == CT_MenuItem) {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (item && item->menuItemType != QStyleOptionMenuItem::Separator && !item->icon.isNull())
            return PictureSize(item->icon);
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void MenuPictureStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                   const QWidget *widget) const
{
    if (element == CE_MenuItem) {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (item && item->menuItemType != QStyleOptionMenuItem::Separator && !item->icon.isNull()) {
            const bool highlighted = item->state & State_Selected;
            const QSize size = PictureSize(item->icon);
            const QPixmap picture = item->icon.pixmap(size, painter->device()->devicePixelRatioF(),
                                                      highlighted ? QIcon::Active : QIcon::Normal);
            painter->drawPixmap(QRect(item->rect.topLeft(), size), picture);
            // A wider menu (a longer notebook line) continues each picture's right edge.
            if (item->rect.width() > size.width()) {
                const QImage image = picture.toImage();
                const QColor edge = image.pixelColor(image.width() - 1, image.height() / 2);
                painter->fillRect(QRect(item->rect.left() + size.width(), item->rect.top(),
                                        item->rect.width() - size.width(), size.height()), edge);
            }
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

int MenuPictureStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    if (metric == PM_MenuHMargin || metric == PM_MenuVMargin)
        return 0;
    if (metric == PM_MenuPanelWidth)
        return 1;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

SpiritMenu::SpiritMenu(SpiritLauncher &launcher, const QString &pictureFolder, QWidget *parent)
    : QMenu(parent), m_launcher(launcher), m_pictureFolder(pictureFolder), m_style(new MenuPictureStyle)
{
    m_style->setParent(this);
    setStyle(m_style);
    setTitle(QStringLiteral("Morvex精灵"));
    rebuild();
}

QIcon SpiritMenu::pictureIcon(const MenuItem &item) const
{
    const QString base = item.name + (item.checkable && item.checked ? QStringLiteral("-S") : QString());
    const qreal ratio = devicePixelRatioF();
    QPixmap normal = skin::LoadPicture(skin::FindPicture(m_pictureFolder, {}, base), ratio);
    QPixmap highlighted = skin::LoadPicture(skin::FindPicture(m_pictureFolder, {}, base + QStringLiteral("-a")), ratio);
    if (normal.isNull())
        return {};
    if (item.name == QLatin1String("btNoteReview")) {
        // Its text changes with the due count, so it is written onto its picture here,
        // which grows to the right when the text needs more room.
        QFont f = font();
        f.setPixelSize(12);
        const int width = qMax(kItemWidth, QFontMetrics(f).horizontalAdvance(item.text) + 38);
        for (QPixmap *p : {&normal, &highlighted}) {
            if (p->isNull())
                continue;
            const QImage source = p->toImage();
            QPixmap wide(qRound(width * p->devicePixelRatio()), p->height());
            wide.setDevicePixelRatio(p->devicePixelRatio());
            wide.fill(source.pixelColor(source.width() - 1, source.height() / 2));
            QPainter painter(&wide);
            painter.drawPixmap(0, 0, *p);
            painter.setPen(p == &normal ? QColor(0x2F, 0x4F, 0x6F) : QColor(0x24, 0x47, 0x6F));
            painter.setFont(f);
            painter.drawText(QRect(30, 0, width - 30, kItemHeight), Qt::AlignVCenter | Qt::AlignLeft, item.text);
            painter.end();
            *p = wide;
        }
    }
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(highlighted.isNull() ? normal : highlighted, QIcon::Active);
    return icon;
}

QAction *SpiritMenu::addItem(QMenu *menu, const MenuItem &item)
{
    if (item.separatorBefore)
        menu->addSeparator();
    QAction *action = menu->addAction(pictureIcon(item), item.text);
    action->setObjectName(item.name);
    action->setCheckable(item.checkable);
    action->setChecked(item.checked);
    action->setIconVisibleInMenu(true);
    const QString name = item.name;
    connect(action, &QAction::triggered, this, [this, name] { m_launcher.activate(name); });
    return action;
}

void SpiritMenu::rebuild()
{
    clear();
    qDeleteAll(findChildren<QMenu *>(Qt::FindDirectChildrenOnly));
    const QList<MenuItem> items = m_launcher.menu();
    QHash<QString, QMenu *> groups;
    for (const MenuItem &item : items) {
        const bool isGroup = std::any_of(items.begin(), items.end(), [&](const MenuItem &i) { return i.group == item.name; });
        QMenu *parent = item.group.isEmpty() ? this : groups.value(item.group, this);
        if (!isGroup) {
            addItem(parent, item);
            continue;
        }
        auto *sub = new QMenu(item.text, parent);
        sub->setStyle(m_style);
        sub->setObjectName(item.name + QStringLiteral("Menu"));
        QAction *action = sub->menuAction();
        action->setObjectName(item.name);
        action->setIcon(pictureIcon(item));
        if (item.separatorBefore)
            parent->addSeparator();
        parent->addAction(action);
        groups.insert(item.name, sub);
    }
}

QAction *SpiritMenu::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

} // namespace mvx::spirit
