#pragma once
// Read side of the English-Chinese dictionary (mvxdictec.idx / .lib, built by
// tools/dictbuild). open() only memory-maps the two files and checks their heads, so it
// costs well under a millisecond; a look-up is a binary search over the sorted keys.
// Damaged or mismatched files make open() fail with errorText(); a damaged record reads
// as "not found", never out of bounds.
#include "DictEntry.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace mvx {

class EcDictionary final
{
public:
    EcDictionary() = default;
    ~EcDictionary();
    EcDictionary(const EcDictionary &) = delete;
    EcDictionary &operator=(const EcDictionary &) = delete;

    bool open(const QString &idxPath, const QString &libPath);
    void close();
    [[nodiscard]] bool isOpen() const { return m_idx != nullptr; }
    [[nodiscard]] QString errorText() const { return m_error; }
    [[nodiscard]] int keyCount() const { return int(m_keyCount); }

    // Index of the folded key in the key table, -1 when absent.
    [[nodiscard]] int findKey(const QByteArray &foldedKey) const;
    // The word's own entry (exact word, case folded); invalid when it has none.
    [[nodiscard]] DictEntry entry(const QString &word) const;
    // What a learner expects from a look-up: clean-up of page punctuation and possessives,
    // the entry, the base words of inflected forms, nearest spellings when not found.
    [[nodiscard]] DictLookup lookup(const QString &text, int maxSuggestions = 5) const;
    // Common words within a small edit distance, closest and most common first.
    [[nodiscard]] QStringList nearest(const QString &word, int max = 5) const;

private:
    struct Record
    {
        bool hasEntry = false;
        DictEntry entry;
        QList<QPair<QString, QString>> bases; // base head word, form codes
    };
    bool readRecord(int keyIndex, Record &out) const;
    [[nodiscard]] const char *keyAt(int keyIndex) const;

    QFile m_idxFile;
    QFile m_libFile;
    const uchar *m_idx = nullptr;
    const uchar *m_lib = nullptr;
    qint64 m_idxSize = 0;
    qint64 m_libSize = 0;
    quint32 m_keyCount = 0;
    quint32 m_keyTable = 0;
    quint32 m_keyPool = 0;
    quint32 m_keyPoolSize = 0;
    quint32 m_suggest = 0;
    quint32 m_suggestCount = 0;
    quint32 m_buckets = 0;
    QString m_error;
};

} // namespace mvx
