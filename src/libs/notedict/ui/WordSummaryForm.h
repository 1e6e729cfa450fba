#pragma once
// The word summary window: the key words and new words of a stretch of a lesson, each with
// its meaning; choosing a word lists the sentences it stands in (the word stressed), and a
// click on a sentence plays it at the speed box's rate. The content is WordSummaryModel.
#include "DrillWindow.h"

#include "notedict/WordSummaryModel.h"

class QLabel;
class QListWidget;

namespace mvx {

class WordSummaryForm final : public DrillWindow
{
    Q_OBJECT

public:
    explicit WordSummaryForm(QWidget *owner);

    // Loads the prepared summary files and opens its book; dictionary files fill meanings
    // the book does not hold. False, with *error, when the files or the book cannot be read.
    bool Start(const QString &summaryFile, const QString &libFile, const QString &dictIdx, const QString &dictLib,
               QString *error);
    [[nodiscard]] const WordSummaryModel &Model() const { return m_model; }
    [[nodiscard]] QListWidget *WordList() const { return m_words; }
    [[nodiscard]] QListWidget *SentenceList() const { return m_sentences; }
    [[nodiscard]] QString MeaningText() const;

    void SelectWord(int row);
    // Plays the sentence of the current word's row; false when there is none.
    bool PlaySentenceRow(int row);

    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;
    void SentenceCorrected(int, const QString &, const QString &) override {}

private:
    WordSummaryModel m_model;
    QListWidget *m_words = nullptr;
    QListWidget *m_sentences = nullptr;
    QLabel *m_meaning = nullptr;
};

} // namespace mvx
