#pragma once
// The word summary of a stretch of a lesson: its key words and new words (as the learner
// marked them), each with its meaning and the sentences it stands in, for the summary window.
// Built from the book, kept in two working files between the window's preparation and its
// showing: the words in the summary file, the sentences in its ".lib" companion (JSON).
#include <QList>
#include <QString>

namespace mvx {

class EcDictionary;

struct SummarySentence
{
    int noInAll = 0;
    QString english;
    QString chinese;
};

struct SummaryWord
{
    QString word;        // as first written in the range
    bool keyword = false;
    bool newword = false;
    QString meaning;     // the meaning stored with the sentence, else the dictionary's
    QList<int> sentences; // numbers in all, in order
};

class WordSummaryModel final
{
public:
    // The kinds the player asks for: 2 both, 1 key words only, 0 new words only.
    enum Mode { NewwordsOnly = 0, KeywordsOnly = 1, Both = 2 };

    // Reads the range (clipped at its lesson's end). Returns the number of words, -1 when the
    // range holds none of the asked kinds, -2 with *error for an unreadable book or a bad range.
    int Build(const QString &bookFile, int first, int count, int mode, QString *error);
    // Fills empty meanings from the dictionary (first two meaning lines).
    void FillMeanings(const EcDictionary &dictionary);

    bool Save(const QString &summaryFile, const QString &libFile) const;
    bool Load(const QString &summaryFile, const QString &libFile);

    [[nodiscard]] QString BookFile() const { return m_bookFile; }
    [[nodiscard]] const QList<SummaryWord> &Words() const { return m_words; }
    [[nodiscard]] const QList<SummarySentence> &Sentences() const { return m_sentences; }
    [[nodiscard]] const SummarySentence *Sentence(int noInAll) const;

private:
    QString m_bookFile;
    QList<SummaryWord> m_words;
    QList<SummarySentence> m_sentences;
};

} // namespace mvx
