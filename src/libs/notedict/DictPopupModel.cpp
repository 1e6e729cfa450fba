#include "DictPopupModel.h"

#include "EcDictionary.h"
#include "NoteDictLib.h"
#include "WordFolding.h"

#include "core/CustomEvents.h"

#include <QCoreApplication>

namespace mvx {

DictPopupModel::DictPopupModel(QObject *owner, int dictHandle, const QString &word, const QString &storedMeaning)
    : m_owner(owner), m_dictHandle(dictHandle)
{
    lookUp(word, storedMeaning);
}

void DictPopupModel::lookUp(const QString &word, const QString &storedMeaning)
{
    m_status.clear();
    m_storedMeaning = storedMeaning.trimmed();
    if (const EcDictionary *dict = EcDictFromHandle(m_dictHandle)) {
        m_result = dict->lookup(word);
        m_dictError.clear();
    } else {
        m_result = DictLookup{};
        m_result.asked = word;
        m_result.word = LookupCandidates(word).value(0, word.trimmed());
        const QString why = EcDictLastError();
        m_dictError = QStringLiteral("词典没有打开") + (why.isEmpty() ? QString() : QStringLiteral("：") + why);
    }
    m_meaningText = !m_storedMeaning.isEmpty() ? m_storedMeaning : meaningLines().join(QStringLiteral("; "));
}

QString DictPopupModel::title() const
{
    return m_result.word.isEmpty() ? m_result.asked.trimmed() : m_result.word;
}

QString DictPopupModel::phonetic() const
{
    // The asked word's own ("went" is [went], not go's), else its base's, named.
    return m_result.headPhonetic(true);
}

QStringList DictPopupModel::meaningLines() const
{
    return m_result.found() ? m_result.meaningLines() : QStringList();
}

QString DictPopupModel::infoLine() const
{
    if (!m_dictError.isEmpty())
        return m_dictError;
    if (!m_result.found()) {
        QString s = QStringLiteral("词典中没有找到“%1”。").arg(title());
        if (!m_result.suggestions.isEmpty())
            s += QStringLiteral("您要找的是不是：") + m_result.suggestions.join(QStringLiteral(", "));
        return s;
    }
    const DictEntry &e = m_result.mainEntry();
    QStringList parts;
    QStringList forms;
    for (const auto &[name, form] : e.forms())
        forms << name + u' ' + form;
    if (!forms.isEmpty())
        parts << forms.join(QStringLiteral("  "));
    if (!e.tagNames().isEmpty())
        parts << e.tagNames().join(u' ');
    return parts.join(QStringLiteral("    "));
}

QString DictPopupModel::soundWord() const
{
    return title();
}

void DictPopupModel::saveTexts()
{
    const QString third = m_result.headPhonetic(false);
    SetSavedWord(title(), m_meaningText.trimmed(), third);
}

int DictPopupModel::saveToNotebook()
{
    saveTexts();
    NoteDictContext &c = NoteDict();
    c.lastAddedWord.clear();
    c.lastAddResult = 0;
    c.pendingMessage.clear(); // only what this save brings is shown with it
    if (m_owner) {
        PrivateMessageEvent ev(MsgSaveNewWord);
        QCoreApplication::sendEvent(m_owner, &ev);
    }
    int result = -1;
    if (!c.lastAddedWord.isEmpty() && c.lastAddedWord.compare(title(), Qt::CaseInsensitive) == 0)
        result = c.lastAddResult;
    switch (result) {
    case 1: m_status = QStringLiteral("已存入单词笔记本"); break;
    case 2: m_status = QStringLiteral("单词笔记本里已有这个词，已更新"); break;
    case 0: m_status = QStringLiteral("未能存入单词笔记本"); break;
    default: m_status = QStringLiteral("已送出"); break;
    }
    const QString msg = NoteDictTakeMessage();
    if (!msg.isEmpty())
        m_status = msg + u'\n' + m_status;
    return result;
}

void DictPopupModel::storeMeaning()
{
    saveTexts();
    int result = PrivateMessageEvent::NoAnswer;
    if (m_owner) {
        PrivateMessageEvent ev(MsgSaveWordMean);
        QCoreApplication::sendEvent(m_owner, &ev);
        result = ev.result();
    }
    // The owner's answer: 1 stored, 2 removed (empty meaning), 0 refused by the book, -1 no
    // sentence to store it for.
    switch (result) {
    case 1:
        m_storedMeaning = m_meaningText.trimmed();
        m_status = QStringLiteral("已保存为本句中的词义");
        break;
    case 2:
        m_storedMeaning.clear();
        m_status = QStringLiteral("已删除本句中的词义");
        break;
    case 0:
        m_status = QStringLiteral("未能保存本句词义：课文不能写入");
        break;
    case -1:
        m_status = QStringLiteral("未能保存本句词义：没有查词的句子");
        break;
    default:
        m_status = QStringLiteral("未能保存本句词义：没有课文窗口接收");
        break;
    }
}

QPoint DictPopupModel::placeBeside(const QRect &wordRect, const QSize &popup, const QRect &screen)
{
    const int gap = 4;
    int x = wordRect.left();
    int y = wordRect.bottom() + 1 + gap;
    if (y + popup.height() > screen.bottom() + 1) {
        const int above = wordRect.top() - gap - popup.height();
        if (above >= screen.top()) {
            y = above;
        } else {
            // Neither below nor above: beside the word, on the side with more room.
            y = screen.bottom() + 1 - popup.height();
            const int right = wordRect.right() + 1 + gap;
            x = right + popup.width() <= screen.right() + 1 ? right : wordRect.left() - gap - popup.width();
        }
    }
    x = std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - popup.width()));
    y = std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - popup.height()));
    return {x, y};
}

} // namespace mvx
