#include "dialogs/IeVersionForm.h"

#include "core/AppState.h"
#include "ui/Twips.h"

#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace mvx {

IeVersionForm::IeVersionForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("IeVersionForm"));
    setWindowTitle(App().productTitle);
    setFixedSize(TwipsToPixels(6600), TwipsToPixels(3300));
    m_label2 = new QLabel(QStringLiteral("网页显示组件无法启动"), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setGeometry(TwipsRect(360, 240, 5880, 360));
    QFont bold = m_label2->font();
    bold.setBold(true);
    m_label2->setFont(bold);
    m_label1 = new QLabel(QStringLiteral("    本软件用网页显示组件（Qt WebEngine）显示课文，它在您的计算机上无法启动。"
                                         "请点击下面的链接，看看怎样安装"),
                          this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label1->setGeometry(TwipsRect(360, 720, 5880, 1080));
    m_link = new QLabel(QStringLiteral("请点击此处查看安装方法"), this);
    m_link->setObjectName(QStringLiteral("lbIeLink"));
    m_link->setGeometry(TwipsRect(360, 1920, 5880, 330));
    m_link->setStyleSheet(QStringLiteral("color:#2F5D8A; text-decoration:underline;"));
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->installEventFilter(this);
    m_ok = new QPushButton(QStringLiteral("确  定"), this);
    m_ok->setObjectName(QStringLiteral("btOk"));
    m_ok->setGeometry(TwipsRect(2550, 2550, 1500, 450));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &IeVersionForm::btOk_Click);
    Form_Load();
}

QString IeVersionForm::HelpPage()
{
    const QString home = App().appPath.isEmpty() ? QDir::currentPath() : App().appPath;
    return home + QStringLiteral("/help/htmlsrc/mvxbrx_engine.htm");
}

void IeVersionForm::Form_Load()
{
    // Centred on the screen, as the platform's own message windows are.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void IeVersionForm::btOk_Click()
{
    accept();
}

void IeVersionForm::lbIeLink_Click()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPage()));
}

bool IeVersionForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_link && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lbIeLink_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace mvx
