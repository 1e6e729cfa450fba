#include "NoteReviewModel.h"

#include "NotebookModel.h"

namespace mvx {

const QString &NoteReviewModel::NoneDueMessage()
{
    static const QString text = QStringLiteral("现在没有需要复习的单词。");
    return text;
}

int NoteReviewModel::load(const QString &noteFile, const QString &libFile, const QString &rangeText,
                          const QDateTime &now)
{
    m_queue.clear();
    m_revealed = false;
    m_answered = 0;
    m_message.clear();
    m_error.clear();
    const bool opened = m_store.open(noteFile, libFile, false);
    m_message = m_store.message();
    if (!opened) {
        m_error = m_store.errorText();
        return -1;
    }
    m_queue = m_store.dueWords(now.toMSecsSinceEpoch(), NoteSourceRef::parse(rangeText));
    return int(m_queue.size());
}

void NoteReviewModel::reveal()
{
    if (hasWord())
        m_revealed = true;
}

bool NoteReviewModel::answer(ReviewSchedule::Grade grade, const QDateTime &now)
{
    if (!hasWord() || !m_revealed)
        return false;
    ReviewState after;
    if (!m_store.answer(current().id, grade, now, &after)) {
        m_error = QStringLiteral("复习结果没有保存：单词笔记本无法写入。");
        return false;
    }
    NoteWord word = m_queue.takeFirst();
    word.review = after;
    if (grade == ReviewSchedule::Grade::Again)
        m_queue.append(word);
    m_revealed = false;
    ++m_answered;
    return true;
}

QString NoteReviewModel::remainingText() const
{
    return QStringLiteral("还剩 %1 个").arg(remaining());
}

QString NoteReviewModel::gradeCaption(ReviewSchedule::Grade grade) const
{
    static const QHash<int, QString> names = {{1, QStringLiteral("忘记")}, {3, QStringLiteral("困难")},
                                              {4, QStringLiteral("记得")}, {5, QStringLiteral("容易")}};
    const QString name = names.value(int(grade));
    return hasWord() ? name + QStringLiteral(" (") + ReviewSchedule::intervalText(current().review, grade) + u')' : name;
}

QString NoteReviewModel::phonetic() const
{
    if (!hasWord())
        return {};
    return current().third.isEmpty() ? ShownPhonetic(current().word) : current().third;
}

} // namespace mvx
