#pragma once
// A word-sound library: an index file naming one sound file per word.
//
// Index file format (text, UTF-8 or GB18030, lines ended by LF or CR LF):
//   line 1:   MVXSNDLIB<TAB>1
//   then:     word<TAB>sound file        (one entry per line)
//             # comment lines and empty lines are ignored
// The word is matched without case and without surrounding punctuation ("Hello," finds
// "hello"); the first entry of a word wins. The sound file is any format libsndfile reads
// (WAV, FLAC, OGG, MP3 ...); a relative name is found under the data folder given when the
// library is registered, else under the index file's own folder. Lines without a TAB are
// skipped (counted in skippedLines()).
#include <QHash>
#include <QString>

namespace mvx {

class SoundLibrary final
{
public:
    static constexpr auto Magic = "MVXSNDLIB";

    // Loads the index; false (with errorText()) when it is missing, unreadable or has no
    // valid first line.
    bool load(const QString &indexFile, const QString &dataFolder, int kind);

    // The sound file of a word that exists on disk, or an empty text.
    [[nodiscard]] QString soundFileFor(const QString &word) const;
    [[nodiscard]] bool contains(const QString &word) const;
    [[nodiscard]] int wordCount() const { return int(m_entries.size()); }
    [[nodiscard]] int skippedLines() const { return m_skipped; }
    [[nodiscard]] int kind() const { return m_kind; }
    [[nodiscard]] QString indexFile() const { return m_indexFile; }
    [[nodiscard]] QString errorText() const { return m_error; }

    // The form a word is compared in: trimmed, lower case, surrounding punctuation dropped,
    // typographic apostrophes made plain.
    [[nodiscard]] static QString NormaliseWord(const QString &word);

private:
    QHash<QString, QString> m_entries; // normalised word -> sound file as written
    QString m_dataFolder;              // with trailing "/", or empty
    QString m_indexFolder;             // with trailing "/"
    QString m_indexFile;
    QString m_error;
    int m_kind = 0;
    int m_skipped = 0;
};

} // namespace mvx
