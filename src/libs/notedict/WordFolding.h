#pragma once
// How the dictionary compares words: folded keys (lower case, typographic quotes as "'",
// runs of blanks as one space) and the forms worth trying for a word taken from a page
// ("government's," -> "government's", "government").
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace mvx {

// The folded key as UTF-8, the byte string the dictionary index is sorted by.
[[nodiscard]] QByteArray FoldKey(const QString &word);
// Cleaned forms of a looked-up text, best first; empty when nothing word-like is left.
[[nodiscard]] QStringList LookupCandidates(const QString &text);

} // namespace mvx
