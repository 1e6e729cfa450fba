#include "DrillWindow.h"

#include "SentenceEditForm.h"

#include "notedict/DrillBook.h"
#include "libs/sentra/SentraBook.h"
#include "ui/MessageBox.h"
#include "ui/Twips.h"

#include <QPushButton>

namespace mvx {

DrillWindow::DrillWindow(const QString &formName, QWidget *owner, const QString &soundFile)
    : SkinnedWindow(formName, true, owner), m_sound(soundFile)
{
    setObjectName(formName);
}

DrillWindow::~DrillWindow() = default;

bool DrillWindow::OpenBook(const QString &bookFile, QString *error)
{
    m_book = std::make_unique<sentra::SentraBook>();
    if (m_book->open(bookFile, true) || m_book->open(bookFile, false))
        return true;
    m_book.reset();
    if (error)
        *error = BookOpenFailedText(bookFile);
    return false;
}

QString DrillWindow::Correct(int noInAll, const QString &english, const QString &chinese)
{
    if (!m_book)
        return {};
    bool changed = false;
    const QString refused = CorrectSentence(*m_book, noInAll, english, chinese, &changed);
    if (!refused.isEmpty()) {
        ShowMessageBox(refused, 1);
        return refused;
    }
    if (changed) {
        m_changed = true;
        const auto s = m_book->sentence(noInAll);
        SentenceCorrected(noInAll, s ? s->english : english, s ? s->chinese : chinese);
    }
    return {};
}

bool DrillWindow::EditSentence(int noInAll)
{
    const auto s = m_book ? m_book->sentence(noInAll) : std::nullopt;
    if (!s)
        return false;
    m_sound.Stop();
    SentenceEditForm form(this, s->english, s->chinese);
    form.Load();
    if (form.exec() != QDialog::Accepted)
        return false;
    const bool before = m_changed;
    m_changed = false;
    Correct(noInAll, form.English(), form.Chinese());
    const bool now = m_changed;
    m_changed = before || now;
    return now;
}

QPushButton *DrillWindow::AddPlainButton(const QString &tag, const QString &text, int left, int top, int width,
                                         int height)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(tag);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(TwipsRect(left, top, width, height));
    connect(button, &QPushButton::clicked, this, [this, tag] { DispatchClick(tag); });
    return button;
}

void DrillWindow::Form_Unload()
{
    m_sound.Stop();
}

} // namespace mvx
