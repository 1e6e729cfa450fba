#include "DictPopupForm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace mvx {

namespace {
QPushButton *Button(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}
} // namespace

DictPopupForm::DictPopupForm(QWidget *owner, int dictHandle, const QString &word, const QString &storedMeaning)
    : SkinnedWindow(QStringLiteral("DictPopupForm"), false, owner), m_model(owner, dictHandle, word, storedMeaning)
{
    setWindowFlags(windowFlags() | Qt::Tool);
    setAttribute(Qt::WA_DeleteOnClose);
    SetTitleBandHeight(450);
    m_title = AddLabel(QStringLiteral("lbTitle"), QString(), 150, 60, 4200, 330);
    QFont tf = m_title->font();
    tf.setBold(true);
    tf.setPointSizeF(tf.pointSizeF() * 1.2);
    m_title->setFont(tf);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 36, 10, 8);
    layout->setSpacing(5);
    auto *head = new QHBoxLayout;
    m_phonetic = new QLabel(this);
    m_phonetic->setObjectName(QStringLiteral("lbPhonetic"));
    head->addWidget(m_phonetic, 1);
    auto *speak = Button(this, QStringLiteral("btSpeak"), QStringLiteral("发音"));
    head->addWidget(speak);
    layout->addLayout(head);
    m_meanings = new QLabel(this);
    m_meanings->setObjectName(QStringLiteral("lbMeanings"));
    m_meanings->setWordWrap(true);
    m_meanings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_meanings);
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("lbInfo"));
    m_info->setWordWrap(true);
    m_info->setTextFormat(Qt::RichText);
    connect(m_info, &QLabel::linkActivated, this, [this](const QString &w) { showWord(w, QString()); });
    layout->addWidget(m_info);
    m_stored = new QLabel(this);
    m_stored->setObjectName(QStringLiteral("lbStored"));
    m_stored->setWordWrap(true);
    layout->addWidget(m_stored);
    m_meaningEdit = new QLineEdit(this);
    m_meaningEdit->setObjectName(QStringLiteral("teMeaning"));
    m_meaningEdit->setPlaceholderText(QStringLiteral("本句中的词义"));
    connect(m_meaningEdit, &QLineEdit::textEdited, this, [this](const QString &t) { m_model.setMeaningText(t); });
    layout->addWidget(m_meaningEdit);
    auto *buttons = new QHBoxLayout;
    auto *save = Button(this, QStringLiteral("btSaveWord"), QStringLiteral("存入笔记本"));
    auto *mean = Button(this, QStringLiteral("btSaveMean"), QStringLiteral("存为本句词义"));
    auto *close = Button(this, QStringLiteral("btClose"), QStringLiteral("关闭"));
    buttons->addWidget(save);
    buttons->addWidget(mean);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    connect(speak, &QPushButton::clicked, this, &DictPopupForm::btSpeak_click);
    connect(save, &QPushButton::clicked, this, &DictPopupForm::btSaveWord_click);
    connect(mean, &QPushButton::clicked, this, &DictPopupForm::btSaveMean_click);
    connect(close, &QPushButton::clicked, this, &DictPopupForm::btWinClose_click);
    // Book and dictionary texts are shown as they are, never as markup.
    for (QLabel *plain : {m_title, m_phonetic, m_meanings, m_stored, m_status})
        plain->setTextFormat(Qt::PlainText);
    setFixedWidth(340);
    refresh();
}

void DictPopupForm::refresh()
{
    m_title->setText(m_model.title());
    m_phonetic->setText(m_model.phonetic());
    m_meanings->setText(m_model.meaningLines().join(u'\n'));
    m_meanings->setVisible(!m_model.meaningLines().isEmpty());
    QString info = m_model.infoLine().toHtmlEscaped();
    if (!m_model.found() && !m_model.suggestions().isEmpty()) {
        QStringList links;
        for (const QString &s : m_model.suggestions())
            links << QStringLiteral("<a href=\"%1\">%1</a>").arg(s.toHtmlEscaped());
        info = QStringLiteral("词典中没有找到“%1”。您要找的是不是：").arg(m_model.title().toHtmlEscaped()) + links.join(QStringLiteral(", "));
    }
    m_info->setText(info);
    m_info->setVisible(!info.isEmpty());
    m_stored->setText(QStringLiteral("本句词义：") + m_model.storedMeaning());
    m_stored->setVisible(!m_model.storedMeaning().isEmpty());
    m_meaningEdit->setText(m_model.meaningText());
    m_meaningEdit->setCursorPosition(0);
    m_status->setText(m_model.statusText());
    m_status->setVisible(!m_model.statusText().isEmpty());
    adjustSize();
}

void DictPopupForm::showWord(const QString &word, const QString &storedMeaning)
{
    m_model.lookUp(word, storedMeaning);
    refresh();
}

void DictPopupForm::popUpBeside(const QRect &wordRect)
{
    Load();
    adjustSize();
    QScreen *screen = QGuiApplication::screenAt(wordRect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    move(DictPopupModel::placeBeside(wordRect, size(), area));
    show();
    raise();
}

void DictPopupForm::btSpeak_click()
{
    if (!m_speaker.speak(m_model.soundWord())) {
        m_status->setText(m_speaker.errorText());
        m_status->setVisible(!m_speaker.errorText().isEmpty());
    }
}

void DictPopupForm::btSaveWord_click()
{
    m_model.setMeaningText(m_meaningEdit->text());
    m_model.saveToNotebook();
    refresh();
}

void DictPopupForm::btSaveMean_click()
{
    m_model.setMeaningText(m_meaningEdit->text());
    m_model.storeMeaning();
    refresh();
}

void DictPopupForm::btWinClose_click()
{
    // The toolkit routes a window-system close here too: leave through done().
    reject();
    if (testAttribute(Qt::WA_DeleteOnClose))
        deleteLater();
}

bool DictPopupForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        btWinClose_click();
        return true;
    }
    return false;
}

} // namespace mvx
