#pragma once
// What a dictionary look-up gives back: the entry of the word itself, the base words an
// inflected form leads to (with the relation in Chinese, "go 的过去式"), and the nearest
// spellings when nothing was found.
#include <QList>
#include <QString>
#include <QStringList>

namespace mvx {

struct DictEntry
{
    QString headWord;
    QString phonetic;          // without brackets; may be empty
    QStringList translation;   // Chinese meaning lines ("n. 政府, 内阁", "[经] 政府")
    QString pos;               // ECDICT part-of-speech shares ("n:46/v:54"), may be empty
    QStringList tags;          // exam tags ("cet4", "ielts")
    QString exchange;          // ECDICT inflection text ("p:went/d:gone/i:going/3:goes")
    int collins = 0;
    bool oxford = false;
    quint32 rank = 0;          // lower = more common; 0x7fffffff when unknown

    [[nodiscard]] bool isValid() const { return !headWord.isEmpty(); }
    // The inflected forms named in exchange as "过去式 went" pairs, in the data's order.
    [[nodiscard]] QList<QPair<QString, QString>> forms() const;
    // Readable exam tags ("四级", "雅思").
    [[nodiscard]] QStringList tagNames() const;
};

struct DictBase
{
    QString codes;     // ECDICT form codes of the asked word relative to the base ("p", "dp"; "" unknown)
    QString relation;  // "go 的过去式"
    DictEntry entry;   // the base word's own entry (invalid when the data lacks it)
};

struct DictLookup
{
    QString asked;            // the text as given
    QString word;             // the word actually looked up, after clean-up ("government")
    DictEntry entry;          // the word's own entry; invalid when it has none
    QList<DictBase> bases;    // base words of an inflected form
    QStringList suggestions;  // nearest spellings, only when nothing was found

    [[nodiscard]] bool found() const { return entry.isValid() || !bases.isEmpty(); }
    // The entry to show first: the word's own one, unless it only says which form of
    // which base it is (then the base's).
    [[nodiscard]] const DictEntry &mainEntry() const;
    // Meaning lines for one-line displays: relations first when the main entry is a base.
    [[nodiscard]] QStringList meaningLines() const;
    // The asked word's own phonetic; when its entry has none, the first base entry's, named
    // after it ("'dɒktә (doctor)"). Brackets: "['dɒktә] (doctor)". Empty when none has one.
    [[nodiscard]] QString headPhonetic(bool brackets) const;
};

// Chinese name of one ECDICT form code ('p' -> "过去式"); empty for an unknown code.
[[nodiscard]] QString FormCodeName(QChar code);
// "report 的过去式、过去分词"; "go 的变形" when the codes are unknown.
[[nodiscard]] QString RelationText(const QString &base, const QString &codes);

} // namespace mvx
