#include "notedict/DictationSession.h"

#include "notedict/DrillBook.h"
#include "notedict/EcDictionary.h"
#include "notedict/NoteDictLib.h"
#include "libs/sentra/SentenceWords.h"
#include "libs/sentra/SentraBook.h"

#include <algorithm>
#include <utility>

namespace mvx {

DictationSession::DictationSession() = default;
DictationSession::~DictationSession() = default;

QString DictationSession::TakeNotice()
{
    return std::exchange(m_notice, QString());
}

bool DictationSession::Open(const QString &bookFile, int first, int count, int level, QString *error, bool onlyWrong)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    m_sentences.clear();
    m_bookFile = bookFile;
    m_level = std::max(0, level);
    m_index = m_plays = m_scoreRight = m_scoreTotal = m_checked = 0;
    m_step = Typing;
    m_saveWarned = false;
    m_changed = false;
    m_typed.clear();
    m_book = std::make_unique<sentra::SentraBook>();
    sentra::SentraBook &book = *m_book;
    if (!book.open(bookFile, true))
        return fail(QStringLiteral("无法打开句子库文件：%1").arg(bookFile));
    if (count <= 0 || first < 0 || first + count > book.sentenceCount())
        return fail(QStringLiteral("要练习的句子不在句子库的范围内。"));
    for (int no = first; no < first + count; ++no) {
        const auto s = book.sentence(no);
        if (!s || sentra::SentenceWords::words(s->english).isEmpty())
            continue;
        Sentence sentence{no, s->english, s->chinese};
        if (const auto score = book.dictation(no)) {
            sentence.wordsRight = score->wordsRight;
            sentence.wordsTotal = score->wordsTotal;
            sentence.at = score->at;
        }
        if (onlyWrong && (sentence.wordsTotal < 0 || sentence.wordsRight >= sentence.wordsTotal))
            continue;
        m_sentences.push_back(sentence);
    }
    if (m_sentences.isEmpty())
        return fail(onlyWrong ? QStringLiteral("这个范围内没有做错的句子。")
                              : QStringLiteral("这个范围内没有可以听写的句子。"));
    return true;
}

int DictationSession::PlaysLeft() const
{
    return m_level == 0 ? -1 : std::max(0, m_level - m_plays);
}

bool DictationSession::NotePlayed()
{
    if (m_step == Finished || PlaysLeft() == 0)
        return false;
    ++m_plays;
    return true;
}

bool DictationSession::Enter(const QString &typed, QString *error)
{
    switch (m_step) {
    case Typing:
        if (typed.size() > MaxTypedChars) {
            if (error)
                *error = QStringLiteral("输入的内容太长（最多 %1 个字符）。").arg(MaxTypedChars);
            return false;
        }
        m_typed = typed;
        m_result = CompareDictation(Current().english, typed);
        StoreResult();
        m_scoreRight += m_result.right;
        m_scoreTotal += m_result.total;
        ++m_checked;
        m_step = Checked;
        break;
    case Checked:
        m_step = EnglishShown;
        break;
    case EnglishShown:
        m_step = ChineseShown;
        break;
    case ChineseShown:
        if (m_index + 1 >= Count()) {
            m_step = Finished;
        } else {
            ++m_index;
            m_plays = 0;
            m_step = Typing;
            m_result = {};
        }
        break;
    case Finished:
        break;
    }
    return true;
}

void DictationSession::StoreResult()
{
    const QDateTime now = QDateTime::currentDateTime();
    if (m_book->setDictation(Current().noInAll, m_result.right, m_result.total, now)) {
        Sentence &s = m_sentences[m_index];
        s.wordsRight = m_result.right;
        s.wordsTotal = m_result.total;
        s.at = now;
    } else if (!m_saveWarned) {
        m_saveWarned = true;
        m_notice = QStringLiteral("成绩无法保存");
    }
}

QString DictationSession::Correct(const QString &english, const QString &chinese)
{
    if (!m_book || m_sentences.isEmpty() || m_step == Finished)
        return {};
    bool changed = false;
    const QString refused = CorrectSentence(*m_book, Current().noInAll, english, chinese, &changed);
    if (!refused.isEmpty() || !changed)
        return refused;
    m_changed = true;
    Sentence &s = m_sentences[m_index];
    const auto stored = m_book->sentence(s.noInAll);
    s.english = stored ? stored->english : english.trimmed();
    s.chinese = stored ? stored->chinese : chinese.trimmed();
    s.wordsTotal = -1; // the book dropped the result of the old English
    if (m_step != Typing) {
        m_scoreRight -= m_result.right;
        m_scoreTotal -= m_result.total;
        m_result = CompareDictation(s.english, m_typed);
        StoreResult();
        m_scoreRight += m_result.right;
        m_scoreTotal += m_result.total;
    }
    return {};
}

QStringList DictationSession::MissedWords() const
{
    QStringList words;
    if (m_step == Typing || m_step == Finished)
        return words;
    for (const DictationMark &m : m_result.textWords) {
        if (m.kind == DictationMark::Right || !std::any_of(m.text.begin(), m.text.end(), [](QChar c) { return c.isLetter(); }))
            continue;
        if (!words.contains(m.text, Qt::CaseInsensitive))
            words << m.text;
    }
    return words;
}

int DictationSession::AddMissedWordsToNotebook(const QString &noteFile, int dictHandle)
{
    const QStringList words = MissedWords();
    const Sentence &s = Current();
    const QString example = s.english + QStringLiteral("\r\n") + s.chinese;
    const QString source = DrillWordSource(m_bookFile, s.noInAll);
    const EcDictionary *dictionary = EcDictFromHandle(dictHandle);
    int stored = 0;
    for (const QString &word : words) {
        QString meaning = m_book ? m_book->wordMeaning(s.noInAll, word).trimmed() : QString();
        if (meaning.isEmpty() && dictionary)
            meaning = dictionary->lookup(word, 0).meaningLines().mid(0, 2).join(QStringLiteral("；"));
        if (bcNote_AddWord(noteFile, noteFile + QStringLiteral(".lib"), word, meaning, QString(), source, example) == 0)
            return -1;
        ++stored;
    }
    return stored;
}

QString DictationSession::CheckedHtml() const
{
    QStringList parts;
    for (const DictationMark &m : m_result.shown) {
        const QString t = m.text.toHtmlEscaped();
        switch (m.kind) {
        case DictationMark::Right:
            parts << t;
            break;
        case DictationMark::Wrong:
            parts << QStringLiteral("<span style=\"color:#D00000\">%1</span>").arg(t);
            break;
        case DictationMark::Extra:
            parts << QStringLiteral("<s style=\"color:#808080\">%1</s>").arg(t);
            break;
        case DictationMark::Missing:
            parts << QStringLiteral("<span style=\"color:#D00000\">%1</span>").arg(t);
            break;
        }
    }
    return parts.join(QLatin1Char(' ')) + QStringLiteral("&nbsp;&nbsp;<b>%1/%2</b>").arg(m_result.right).arg(m_result.total);
}

QString DictationSession::MarkedEnglishHtml() const
{
    // The verdicts follow the text's words in order; a number or "per cent" spanning several
    // words of the text carries one verdict, given to each of its words.
    QString html;
    int w = 0;
    QString pending; // the rest of a multi-word mark
    for (const sentra::SentenceWords::Piece &p : sentra::SentenceWords::split(Current().english)) {
        const QString t = p.text.toString();
        if (!p.isWord || w >= m_result.textWords.size()) {
            html += t.toHtmlEscaped();
            continue;
        }
        const DictationMark &m = m_result.textWords[w];
        if (pending.isEmpty())
            pending = m.text;
        pending = pending.mid(pending.indexOf(t) >= 0 ? pending.indexOf(t) + t.size() : pending.size()).trimmed();
        if (pending.startsWith(QLatin1Char(',')))
            pending = pending.mid(1);
        const bool last = pending.isEmpty();
        if (m.kind == DictationMark::Right)
            html += t.toHtmlEscaped();
        else if (m.kind == DictationMark::Wrong)
            html += QStringLiteral("<span style=\"color:#D00000\">%1</span>").arg(t.toHtmlEscaped());
        else
            html += QStringLiteral("<u style=\"color:#0050D0\">%1</u>").arg(t.toHtmlEscaped());
        if (last)
            ++w;
    }
    return html;
}

} // namespace mvx
