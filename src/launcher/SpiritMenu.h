#pragma once
// The launcher's popup menu drawn from pictures: every item is a 165 x 21 picture
// (name.png, "-a" while highlighted, "-S" when a checked option), or its text when the
// picture is missing. Built anew each time it opens, from SpiritLauncher::menu().
#include "launcher/SpiritLauncher.h"

#include <QMenu>
#include <QProxyStyle>

namespace mvx::spirit {

inline constexpr int kItemWidth = 165;
inline constexpr int kItemHeight = 21;

// Draws items that carry pictures as just their picture.
class MenuPictureStyle final : public QProxyStyle
{
public:
    MenuPictureStyle();
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override;
};

class SpiritMenu final : public QMenu
{
    Q_OBJECT

public:
    SpiritMenu(SpiritLauncher &launcher, const QString &pictureFolder, QWidget *parent = nullptr);
    // Rebuilds the items from the launcher's state.
    void rebuild();
    // The action of an item by name (for tests and screenshots), or null.
    [[nodiscard]] QAction *action(const QString &name) const;

private:
    QIcon pictureIcon(const MenuItem &item) const;
    QAction *addItem(QMenu *menu, const MenuItem &item);

    SpiritLauncher &m_launcher;
    QString m_pictureFolder;
    MenuPictureStyle *m_style;
};

} // namespace mvx::spirit
