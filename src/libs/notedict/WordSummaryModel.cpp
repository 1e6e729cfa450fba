#include "notedict/WordSummaryModel.h"

#include "notedict/DrillBook.h"
#include "notedict/EcDictionary.h"
#include "libs/sentra/SentraBook.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace mvx {

namespace {

bool WriteJson(const QString &file, const QJsonObject &object)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(QJsonDocument(object).toJson(QJsonDocument::Compact));
    return out.commit();
}

std::optional<QJsonObject> ReadJson(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(in.readAll());
    if (!doc.isObject())
        return std::nullopt;
    return doc.object();
}

} // namespace

int WordSummaryModel::Build(const QString &bookFile, int first, int count, int mode, QString *error)
{
    m_bookFile = bookFile;
    m_words.clear();
    m_sentences.clear();
    sentra::SentraBook book;
    if (!book.open(bookFile, false)) {
        if (error)
            *error = BookOpenFailedText(bookFile);
        return -2;
    }
    const auto range = CheckDrillRange(book, first, count, true, error);
    if (!range)
        return -2;
    const bool wantKey = mode == Both || mode == KeywordsOnly;
    const bool wantNew = mode == Both || mode == NewwordsOnly;
    QHash<QString, int> index; // folded word -> place in m_words
    for (int no = range->first; no < range->first + range->count; ++no) {
        const auto s = book.sentence(no);
        if (!s)
            continue;
        const QStringList words = book.sentenceWords(no);
        bool used = false;
        for (int k = 1; k <= words.size(); ++k) {
            const bool key = wantKey && s->keywords.contains(k);
            const bool fresh = wantNew && s->newwords.contains(k);
            if (!key && !fresh)
                continue;
            const QString &word = words[k - 1];
            const QString folded = word.toLower();
            auto it = index.find(folded);
            if (it == index.end()) {
                it = index.insert(folded, int(m_words.size()));
                m_words.append(SummaryWord{word, false, false, QString(), {}});
            }
            SummaryWord &w = m_words[*it];
            w.keyword = w.keyword || key;
            w.newword = w.newword || fresh;
            if (w.sentences.isEmpty() || w.sentences.last() != no)
                w.sentences.append(no);
            if (w.meaning.isEmpty())
                w.meaning = book.wordMeaning(no, word).trimmed();
            used = true;
        }
        if (used)
            m_sentences.append(SummarySentence{no, s->english, s->chinese});
    }
    return m_words.isEmpty() ? -1 : int(m_words.size());
}

void WordSummaryModel::FillMeanings(const EcDictionary &dictionary)
{
    for (SummaryWord &w : m_words) {
        if (!w.meaning.isEmpty())
            continue;
        const QStringList lines = dictionary.lookup(w.word, 0).meaningLines();
        w.meaning = lines.mid(0, 2).join(QStringLiteral("；"));
    }
}

const SummarySentence *WordSummaryModel::Sentence(int noInAll) const
{
    for (const SummarySentence &s : m_sentences)
        if (s.noInAll == noInAll)
            return &s;
    return nullptr;
}

bool WordSummaryModel::Save(const QString &summaryFile, const QString &libFile) const
{
    QJsonArray words;
    for (const SummaryWord &w : m_words) {
        QJsonArray numbers;
        for (int no : w.sentences)
            numbers.append(no);
        words.append(QJsonObject{{"word", w.word}, {"key", w.keyword}, {"new", w.newword},
                                 {"meaning", w.meaning}, {"sentences", numbers}});
    }
    QJsonArray sentences;
    for (const SummarySentence &s : m_sentences)
        sentences.append(QJsonObject{{"no", s.noInAll}, {"english", s.english}, {"chinese", s.chinese}});
    return WriteJson(summaryFile, QJsonObject{{"book", m_bookFile}, {"words", words}})
           && WriteJson(libFile, QJsonObject{{"sentences", sentences}});
}

bool WordSummaryModel::Load(const QString &summaryFile, const QString &libFile)
{
    const auto summary = ReadJson(summaryFile);
    const auto lib = ReadJson(libFile);
    if (!summary || !lib)
        return false;
    m_bookFile = summary->value("book").toString();
    m_words.clear();
    m_sentences.clear();
    for (const QJsonValue &v : summary->value("words").toArray()) {
        const QJsonObject o = v.toObject();
        SummaryWord w{o.value("word").toString(), o.value("key").toBool(), o.value("new").toBool(),
                      o.value("meaning").toString(), {}};
        for (const QJsonValue &n : o.value("sentences").toArray())
            w.sentences.append(n.toInt());
        if (!w.word.isEmpty())
            m_words.append(w);
    }
    for (const QJsonValue &v : lib->value("sentences").toArray()) {
        const QJsonObject o = v.toObject();
        m_sentences.append(SummarySentence{o.value("no").toInt(), o.value("english").toString(),
                                           o.value("chinese").toString()});
    }
    return true;
}

} // namespace mvx
