#include "notedict/ShuffleSession.h"

#include "notedict/DrillBook.h"
#include "libs/sentra/SentenceWords.h"
#include "libs/sentra/SentraBook.h"

#include <QRandomGenerator>
#include <algorithm>
#include <numeric>

namespace mvx {

bool ShuffleSession::Open(const QString &bookFile, int first, int count, QString *error, quint32 seed)
{
    m_sentences.clear();
    m_index = m_placed = m_mistakes = 0;
    m_seed = seed ? seed : QRandomGenerator::global()->generate();
    sentra::SentraBook book;
    if (!book.open(bookFile, false)) {
        if (error)
            *error = BookOpenFailedText(bookFile);
        return false;
    }
    const auto range = CheckDrillRange(book, first, count, false, error);
    if (!range)
        return false;
    for (int no = range->first; no < range->first + range->count; ++no) {
        const auto s = book.sentence(no);
        if (s && sentra::SentenceWords::words(s->english).size() >= 2)
            m_sentences.append(Sentence{no, s->english, s->chinese});
    }
    if (m_sentences.isEmpty()) {
        if (error)
            *error = QStringLiteral("这个范围内没有可以组合的句子。");
        return false;
    }
    Deal();
    return true;
}

void ShuffleSession::Deal()
{
    m_words = sentra::SentenceWords::words(Current().english);
    m_placed = 0;
    m_shuffled.resize(m_words.size());
    std::iota(m_shuffled.begin(), m_shuffled.end(), 0);
    QRandomGenerator random(m_seed + quint32(m_index) * 7919u);
    // Shuffle until the order differs from the sentence's (when the words allow it).
    const auto inOrder = [this] {
        for (int i = 0; i < m_shuffled.size(); ++i)
            if (m_words[m_shuffled[i]].compare(m_words[i], Qt::CaseInsensitive) != 0)
                return false;
        return true;
    };
    for (int attempt = 0; attempt < 20; ++attempt) {
        for (int i = int(m_shuffled.size()) - 1; i > 0; --i)
            std::swap(m_shuffled[i], m_shuffled[int(random.bounded(i + 1))]);
        if (!inOrder())
            break;
    }
}

QStringList ShuffleSession::Pool() const
{
    QStringList pool;
    for (int i : m_shuffled)
        pool << m_words[i];
    return pool;
}

bool ShuffleSession::Pick(int poolIndex)
{
    if (poolIndex < 0 || poolIndex >= m_shuffled.size() || Complete())
        return false;
    if (m_words[m_shuffled[poolIndex]].compare(m_words[m_placed], Qt::CaseInsensitive) != 0) {
        ++m_mistakes;
        return false;
    }
    // The placed word leaves the pool; an equal word elsewhere in the pool stands for it.
    const int taken = m_shuffled[poolIndex];
    m_shuffled.removeAt(poolIndex);
    if (taken != m_placed)
        std::replace(m_shuffled.begin(), m_shuffled.end(), m_placed, taken);
    ++m_placed;
    return true;
}

void ShuffleSession::Hint()
{
    if (Complete())
        return;
    ++m_mistakes;
    m_shuffled.removeAll(m_placed);
    ++m_placed;
}

void ShuffleSession::SetTexts(const QString &english, const QString &chinese)
{
    m_sentences[m_index].english = english;
    m_sentences[m_index].chinese = chinese;
    Deal();
}

bool ShuffleSession::Next()
{
    if (m_index + 1 >= Count())
        return false;
    ++m_index;
    Deal();
    return true;
}

} // namespace mvx
