#pragma once
// Builds a word-sound library (index format in comm/SoundLibrary.h): from a folder of
// per-word sound files, or by synthesising a list of words with the speech engine.
#include <QMap>
#include <QString>
#include <QStringList>

namespace mvx {

class SoundLibraryBuilder final
{
public:
    // indexFile: the index to write; dataFolder: the folder entries are relative to
    // (empty: the index's folder).
    SoundLibraryBuilder(const QString &indexFile, const QString &dataFolder);

    // Every sound file under folder (recursively) becomes the entry of the word named by
    // its base name ("_" read as a space). Returns how many were added.
    int addFolder(const QString &folder);
    // Words to synthesise: one word or phrase per line (empty and "#" lines skipped), or,
    // with marked, every *word* marked in the text. False when the file cannot be read.
    bool addWordList(const QString &file, bool marked);
    void addWord(const QString &word);

    // Synthesises the listed words into dataFolder/<index base>snd/ (files already there
    // are kept unless force; files of words no longer listed are removed), then writes the
    // index. False with errorText() on any failure; the old index stays then.
    bool build(const QString &voice, int wordsPerMinute, bool force);

    [[nodiscard]] int entryCount() const { return int(m_entries.size()); }
    [[nodiscard]] int synthesisedCount() const { return m_synthesised; }
    [[nodiscard]] QString errorText() const { return m_error; }
    [[nodiscard]] QString soundFolder() const;
    // A file-system-safe name for a word's sound file.
    [[nodiscard]] static QString FileNameFor(const QString &normalisedWord);

private:
    QString m_indexFile;
    QString m_dataFolder;          // absolute, with trailing "/"
    QMap<QString, QString> m_entries; // normalised word -> file relative to the data folder
    QStringList m_toSynthesise;       // normalised words
    QString m_error;
    int m_synthesised = 0;
};

} // namespace mvx
