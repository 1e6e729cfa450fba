#pragma once
// One dictation run over a range of a book's sentences, without any window: for each sentence
// the learner hears it (at most `level` times, 0 = no limit), types it, checks it (the typed
// words marked, right/total), then sees the English with the faults marked, then the Chinese,
// then goes on. Sentences without words are skipped. The scores of the first check of each
// sentence add up to the run's score.
#include "notedict/DictationCompare.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

namespace mvx::sentra {
class SentraBook;
}

namespace mvx {

class DictationSession final
{
public:
    enum Step { Typing, Checked, EnglishShown, ChineseShown, Finished };
    static constexpr int MaxTypedChars = 2000;

    struct Sentence
    {
        int noInAll = 0;
        QString english;
        QString chinese;
        // The stored result of an earlier visit (wordsTotal < 0: none).
        int wordsRight = 0;
        int wordsTotal = -1;
        QDateTime at;
    };

    DictationSession();
    ~DictationSession();

    // Reads sentences first .. first + count - 1 of the book (opened for writing so results
    // are kept; a read-only book still dictates). onlyWrong keeps the sentences whose stored
    // result is below their total. False, with the reason for the learner in *error, for an
    // unreadable book, a count below 1, a range outside the book, or nothing to dictate.
    bool Open(const QString &bookFile, int first, int count, int level, QString *error, bool onlyWrong = false);
    // The open book (for the sentence sounds); null before Open.
    [[nodiscard]] sentra::SentraBook *Book() const { return m_book.get(); }
    // A notice for the learner from the last step ("成绩无法保存" once per run), then cleared.
    QString TakeNotice();

    [[nodiscard]] QString BookFile() const { return m_bookFile; }
    [[nodiscard]] int Count() const { return int(m_sentences.size()); }
    [[nodiscard]] int Index() const { return m_index; }
    [[nodiscard]] const Sentence &Current() const { return m_sentences[m_index]; }
    [[nodiscard]] Step CurrentStep() const { return m_step; }
    [[nodiscard]] int Level() const { return m_level; }

    // Plays left for this sentence (-1: no limit); NotePlayed counts one, false when none is left.
    [[nodiscard]] int PlaysLeft() const;
    bool NotePlayed();

    // Enter: checks the answer (Typing), shows the English (Checked), the Chinese
    // (EnglishShown), or goes on to the next sentence (ChineseShown). Returns false, with
    // *error set, for an answer over MaxTypedChars (nothing changes).
    bool Enter(const QString &typed, QString *error);
    // The check of the current sentence (valid from Checked on).
    [[nodiscard]] const DictationResult &Result() const { return m_result; }
    // The English with each word's verdict (Right, Wrong, Missing), words and the text between.
    [[nodiscard]] QString MarkedEnglishHtml() const;
    // The result shown after a check: the typed words marked, then "right/total".
    [[nodiscard]] QString CheckedHtml() const;

    // The learner corrected the current sentence's English and Chinese: stored in the book at
    // once (see CorrectSentence). An answer already checked is checked again against the new
    // English and that result kept. Returns "" or the reason it was refused.
    QString Correct(const QString &english, const QString &chinese);
    // True once a correction was stored during the run.
    [[nodiscard]] bool Changed() const { return m_changed; }

    // The wrong and missing words of the checked sentence (those with a letter), in order.
    [[nodiscard]] QStringList MissedWords() const;
    // Puts them into the notebook (noteFile and its ".lib"), each with the sentence as its
    // example and source and a meaning from the book or the dictionary. Returns how many
    // were stored; -1 when the notebook cannot be written.
    int AddMissedWordsToNotebook(const QString &noteFile, int dictHandle);

    // Sum of the checked sentences' right words and words.
    [[nodiscard]] int ScoreRight() const { return m_scoreRight; }
    [[nodiscard]] int ScoreTotal() const { return m_scoreTotal; }
    [[nodiscard]] int CheckedCount() const { return m_checked; }

private:
    void StoreResult();

    std::unique_ptr<sentra::SentraBook> m_book;
    QString m_notice;
    bool m_saveWarned = false;
    QString m_bookFile;
    QVector<Sentence> m_sentences;
    int m_level = 0;
    int m_index = 0;
    int m_plays = 0;
    Step m_step = Typing;
    DictationResult m_result;
    QString m_typed;
    bool m_changed = false;
    int m_scoreRight = 0;
    int m_scoreTotal = 0;
    int m_checked = 0;
};

} // namespace mvx
