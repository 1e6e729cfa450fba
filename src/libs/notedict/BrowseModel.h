#pragma once
// What the sentence browsing window shows: the sentences of a stretch of a lesson with their
// Chinese and comments, and the notebook words saved from them.
#include <QList>
#include <QString>

namespace mvx {

struct BrowseSentence
{
    int noInAll = 0;
    bool isTitle = false;
    QString english;
    QString chinese;
    QString comment;
};

struct BrowseWord
{
    QString word;
    QString meaning;
    int noInAll = -1; // the sentence it was saved from
};

class BrowseModel final
{
public:
    // Reads the range (clipped at its lesson's end) and the notebook words saved from it. A
    // missing or unreadable notebook gives no words. False, with *error, for an unreadable
    // book or a bad range.
    bool Load(const QString &bookFile, int first, int count, const QString &noteFile, QString *error);

    [[nodiscard]] QString BookFile() const { return m_bookFile; }
    [[nodiscard]] const QList<BrowseSentence> &Sentences() const { return m_sentences; }
    [[nodiscard]] const QList<BrowseWord> &Words() const { return m_words; }
    // The learner corrected a sentence in the window: the shown texts follow.
    void SetTexts(int noInAll, const QString &english, const QString &chinese);

private:
    QString m_bookFile;
    QList<BrowseSentence> m_sentences;
    QList<BrowseWord> m_words;
};

} // namespace mvx
