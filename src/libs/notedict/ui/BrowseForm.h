#pragma once
// The sentence browsing window: the sentences of a stretch of a lesson with their Chinese and
// comments, and the notebook words saved from them. A click on a sentence plays it, a click on
// a word plays the sentence it was saved from; "修改句子" corrects the chosen sentence's
// English and Chinese in the book. The content is BrowseModel.
#include "DrillWindow.h"

#include "notedict/BrowseModel.h"

class QListWidget;

namespace mvx {

class BrowseForm final : public DrillWindow
{
    Q_OBJECT

public:
    explicit BrowseForm(QWidget *owner);

    // Reads the range and the notebook's words of it; false with *error.
    bool Start(const QString &bookFile, int first, int count, const QString &noteFile, QString *error);
    [[nodiscard]] const BrowseModel &Model() const { return m_model; }
    [[nodiscard]] QListWidget *SentenceList() const { return m_sentences; }
    [[nodiscard]] QListWidget *WordList() const { return m_words; }
    // The shown text of sentence row (English, Chinese, comment lines).
    [[nodiscard]] QString SentenceText(int row) const;

    bool PlaySentenceRow(int row);
    bool PlayWordRow(int row);

    Q_INVOKABLE void btEdit_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    bool Form_KeyDown(QKeyEvent *event) override;
    void SentenceCorrected(int noInAll, const QString &english, const QString &chinese) override;

private:
    void FillSentences();

    BrowseModel m_model;
    QListWidget *m_sentences = nullptr;
    QListWidget *m_words = nullptr;
};

} // namespace mvx
