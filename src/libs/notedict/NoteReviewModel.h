#pragma once
// Logic of the review window (no widgets): the notebook words due now, one at a time, the
// earliest due first. A word is shown alone; the answer (meaning, phonetic, source sentence)
// is revealed on request, and only then graded. Each grade is stored at once (one
// transaction); "again" puts the word back at the end of this review's queue.
#include "NoteSourceRef.h"
#include "NotebookStore.h"
#include "ReviewSchedule.h"

#include <QDateTime>
#include <QList>

namespace mvx {

class NoteReviewModel final
{
public:
    // Opens the notebook and queues the words of rangeText ("" for all) due at now. Returns
    // how many; -1 when the notebook cannot be opened (errorText()). message() tells of a
    // damaged file set aside.
    int load(const QString &noteFile, const QString &libFile, const QString &rangeText, const QDateTime &now);
    [[nodiscard]] QString message() const { return m_message; }
    [[nodiscard]] QString errorText() const { return m_error; }

    [[nodiscard]] bool hasWord() const { return !m_queue.isEmpty(); }
    [[nodiscard]] const NoteWord &current() const { return m_queue.first(); }
    [[nodiscard]] bool revealed() const { return m_revealed; }
    void reveal();
    // Grades the shown word (only once revealed): stored, then the next word. False when
    // nothing was stored (not revealed, no word, the file refused it).
    bool answer(ReviewSchedule::Grade grade, const QDateTime &now);
    [[nodiscard]] int remaining() const { return int(m_queue.size()); }
    [[nodiscard]] int answered() const { return m_answered; }

    // "还剩 N 个", the grade buttons' captions with their intervals, the current word's
    // phonetic as shown.
    [[nodiscard]] QString remainingText() const;
    [[nodiscard]] QString gradeCaption(ReviewSchedule::Grade grade) const;
    [[nodiscard]] QString phonetic() const;
    static const QString &NoneDueMessage();

private:
    NotebookStore m_store;
    QList<NoteWord> m_queue;
    bool m_revealed = false;
    int m_answered = 0;
    QString m_message;
    QString m_error;
};

} // namespace mvx
