#pragma once
// Converts ECDICT (ecdict.csv and lemma.en.txt) into the program's dictionary files
// <base>.idx and <base>.lib in one streaming pass over the CSV. The layout is in
// src/libs/notedict/EcDictFormat.h and README.md beside this file. Both files are
// written through temporary files and renamed into place, so a failed build never
// leaves a half-written dictionary behind.
#include <QString>
#include <QStringList>

namespace mvx {

struct EcDictBuildStats
{
    int rows = 0;          // data rows read
    int skippedRows = 0;   // malformed rows left out
    int entries = 0;       // words with their own entry
    int formKeys = 0;      // inflected forms that only lead to a base word
    int suggestWords = 0;  // common words offered as nearest spellings
};

class EcDictBuilder final
{
public:
    // lemmaPath may be empty (no lemma list). Returns false with errorText() set.
    bool build(const QString &csvPath, const QString &lemmaPath, const QString &outBase);
    [[nodiscard]] QString errorText() const { return m_error; }
    [[nodiscard]] const EcDictBuildStats &stats() const { return m_stats; }

private:
    QString m_error;
    EcDictBuildStats m_stats;
};

} // namespace mvx
