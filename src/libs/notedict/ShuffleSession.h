#pragma once
// The shuffled recitation without any window: for each sentence of a range the learner sees
// its Chinese and the sentence's words in a shuffled order, and puts them back in order one
// by one (a wrong pick is refused and counted); the last word completes the sentence, which
// is then heard. Sentences with fewer than two words are skipped.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

namespace mvx {

class ShuffleSession final
{
public:
    struct Sentence
    {
        int noInAll = 0;
        QString english;
        QString chinese;
    };

    // Reads sentences first .. first + count - 1 (refused past the book, see CheckDrillRange).
    // seed fixes the shuffles (tests); 0 takes a random one.
    bool Open(const QString &bookFile, int first, int count, QString *error, quint32 seed = 0);

    [[nodiscard]] int Count() const { return int(m_sentences.size()); }
    [[nodiscard]] int Index() const { return m_index; }
    [[nodiscard]] const Sentence &Current() const { return m_sentences[m_index]; }
    // The words still to place, in their shuffled order; the placed ones, in sentence order.
    [[nodiscard]] QStringList Pool() const;
    [[nodiscard]] QStringList Placed() const { return m_words.mid(0, m_placed); }
    [[nodiscard]] bool Complete() const { return m_placed == m_words.size(); }
    [[nodiscard]] int Mistakes() const { return m_mistakes; }

    // Picks pool word i: true when it is the next word of the sentence (a word spelt like
    // the next one is as good, whatever its place). A wrong pick counts a mistake.
    bool Pick(int poolIndex);
    // Places the next word for the learner (a hint), counted as a mistake.
    void Hint();
    // The learner corrected the sentence: its words are shuffled again.
    void SetTexts(const QString &english, const QString &chinese);
    // On to the next sentence; false at the end.
    bool Next();

private:
    void Deal();

    QVector<Sentence> m_sentences;
    int m_index = 0;
    QStringList m_words;    // the sentence's words in order
    QVector<int> m_shuffled; // pool order: word indices
    int m_placed = 0;
    int m_mistakes = 0;
    quint32 m_seed = 0;
};

} // namespace mvx
