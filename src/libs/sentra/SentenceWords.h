#pragma once
// Splits a sentence's English into words and the text between them, the one rule that the
// word numbers of marks, page anchors and masks all follow (see BOOK_FORMAT.md, "Words").
#include <QList>
#include <QString>
#include <QStringList>

namespace mvx::sentra {

class SentenceWords final
{
public:
    struct Piece
    {
        QStringView text; // a view into the string given to split()
        bool isWord = false;
    };

    // The sentence as alternating pieces, in order; concatenated they give the text back.
    // The pieces point into `english`, which must outlive them.
    [[nodiscard]] static QList<Piece> split(const QString &english);
    // Only the words: words()[k - 1] is word k.
    [[nodiscard]] static QStringList words(const QString &english);
};

} // namespace mvx::sentra
