#pragma once
// The quiz source of one book ("quiz/<book name>.txt"), read by the quiz generator and
// checked when the bundled library is built. The format is described in
// QUIZ_FORMAT.md beside this file: "[question]" blocks with "type:" (truefalse or choice),
// "text:", an optional "zh:", choices "A:" to "D:" and "answer:"; "#" starts a comment line.
// A refused source has no questions and an error naming the file and the line.
#include "core/InputError.h"

#include <QList>
#include <QStringList>

namespace mvx {

struct QuizQuestion
{
    enum class Kind { TrueFalse, Choice };
    Kind kind = Kind::TrueFalse;
    QString text;
    QString chinese;     // optional "zh:": the question in Chinese, shown under it
    QStringList choices; // choice questions: the texts of A, B, ... in order
    QChar answer;        // 'T' / 'F', or the letter of the right choice
    int line = 0;        // 1-based line of the "[question]" line
};

struct QuizSource
{
    static constexpr int MaxQuestions = 6; // the quiz window checks at most six
    static constexpr int MinChoices = 2;
    static constexpr int MaxChoices = 4;
    static constexpr qint64 MaxFileBytes = 64 * 1024;

    QString title; // optional "title:" before the first question
    QList<QuizQuestion> questions;
    InputError error;

    [[nodiscard]] static QuizSource parse(const QStringList &lines, const QString &fileName);
    // Reads and parses a file; a missing, unreadable or oversized file is refused (line 0).
    [[nodiscard]] static QuizSource read(const QString &path);
    // One character per question: what counts as the right answer.
    [[nodiscard]] QString answerKey() const;
};

} // namespace mvx
