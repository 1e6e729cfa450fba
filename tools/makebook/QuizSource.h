#pragma once
// The quiz source of one book ("quiz/<book name>.txt"), read by the quiz generator and
// checked when the bundled library is built. The format is described in
// data/library/FORMAT.md: "[question]" blocks with "type:" (truefalse or choice),
// "text:", choices "A:" to "D:" and "answer:"; "#" starts a comment line.
#include "core/InputError.h"

#include <QList>
#include <QStringList>

namespace mvx {

struct QuizQuestion
{
    enum class Kind { TrueFalse, Choice };
    Kind kind = Kind::TrueFalse;
    QString text;
    QStringList choices; // choice questions: the texts of A, B, ... in order
    QChar answer;        // 'T' / 'F', or the letter of the right choice
    int line = 0;        // 1-based line of the "[question]" line
};

struct QuizSource
{
    static constexpr int MaxQuestions = 6; // the quiz window checks at most six
    static constexpr int MaxChoices = 4;

    QString title; // optional "title:" before the first question
    QList<QuizQuestion> questions;
    InputError error;

    [[nodiscard]] static QuizSource parse(const QStringList &lines, const QString &fileName);
    [[nodiscard]] static QuizSource read(const QString &path);
    // One character per question: what counts as the right answer.
    [[nodiscard]] QString answerKey() const;
};

} // namespace mvx
