#pragma once
// The source reference saved with a notebook word, "#kbt|文化习俗.dat|57" (product tag,
// book file name, the sentence's number in the whole book), and the lesson range a
// notebook is loaded with, "#kbt|文化习俗.dat|51|64" (first and last number, inclusive).
#include <QString>

namespace mvx {

struct NoteSourceRef
{
    QString tag;
    QString book;
    int first = -1; // the sentence number; the range's first number
    int last = -1;  // the range's last number; equal to first for a single sentence

    [[nodiscard]] bool isValid() const { return !book.isEmpty() && first >= 0 && last >= first; }
    [[nodiscard]] bool contains(const NoteSourceRef &source) const;
    [[nodiscard]] QString toText() const;
    // Parses either form; an invalid ref for anything else (empty, free text, bad numbers).
    [[nodiscard]] static NoteSourceRef parse(const QString &text);
};

} // namespace mvx
