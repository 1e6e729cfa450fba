#pragma once
// Base of the drill windows (speaking, shuffled recitation, browsing, word summary): the book
// they work on, the sentence sound at the speed box's rate, and the learner's corrections of
// a sentence's English and Chinese, stored at once; Changed() then tells the caller to
// rebuild its pages.
#include "DrillSound.h"

#include "ui/SkinnedWindow.h"

#include <memory>

class QPushButton;

namespace mvx::sentra {
class SentraBook;
}

namespace mvx {

class DrillWindow : public SkinnedWindow
{
    Q_OBJECT

public:
    DrillWindow(const QString &formName, QWidget *owner, const QString &soundFile);
    ~DrillWindow() override;

    // Opens the book for writing (corrections), else for reading. False with *error.
    bool OpenBook(const QString &bookFile, QString *error);
    [[nodiscard]] sentra::SentraBook *Book() const { return m_book.get(); }
    [[nodiscard]] bool Changed() const { return m_changed; }
    [[nodiscard]] DrillSound &Sound() { return m_sound; }

    // Stores a correction of sentence noInAll; the reason it was refused is shown to the
    // learner and returned ("" when stored or unchanged).
    QString Correct(int noInAll, const QString &english, const QString &chinese);
    // Asks the learner for the corrected texts (SentenceEditForm) and stores them; true when
    // the book changed.
    bool EditSentence(int noInAll);

protected:
    // A plain push button (the skins have pictures only for the common buttons) that calls
    // the window's tag + "_click" when pressed; it never takes the focus from the answer.
    QPushButton *AddPlainButton(const QString &tag, const QString &text, int left, int top, int width, int height);
    // The window shows the corrected texts.
    virtual void SentenceCorrected(int noInAll, const QString &english, const QString &chinese) = 0;
    void Form_Unload() override;

private:
    std::unique_ptr<sentra::SentraBook> m_book;
    DrillSound m_sound;
    bool m_changed = false;
};

} // namespace mvx
