#include "launcher/SpiritMenu.h"

#include "core/PictureFiles.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

namespace mvx::spirit {

MenuPictureStyle::MenuPictureStyle() = default;

QSize MenuPictureStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                         const QWidget *widget) const
{
    if (type == CT_MenuItem) {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (item && item->menuItemType != QStyleOptionMenuItem::Separator && !item->icon.isNull())
            return QSize(kItemWidth, kItemHeight);
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
            const QPixmap picture = item->icon.pixmap(QSize(kItemWidth, kItemHeight), painter->device()->devicePixelRatioF(),
                                                      highlighted ? QIcon::Active : QIcon::Normal);
            painter->drawPixmap(QRect(item->rect.topLeft(), QSize(kItemWidth, kItemHeight)), picture);
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
        // Its text changes with the due count, so it is written onto its picture here.
        for (QPixmap *p : {&normal, &highlighted}) {
            if (p->isNull())
                continue;
            QPainter painter(p);
            painter.setPen(p == &normal ? QColor(0x2F, 0x4F, 0x6F) : QColor(0x2F, 0x5D, 0x8A));
            QFont f = font();
            f.setPixelSize(12);
            painter.setFont(f);
            painter.drawText(QRect(28, 0, kItemWidth - 30, kItemHeight), Qt::AlignVCenter | Qt::AlignLeft, item.text);
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
