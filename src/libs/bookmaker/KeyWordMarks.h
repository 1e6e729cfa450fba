#pragma once
// Key words are marked in lesson English as *word* (or *a few words*). This strips
// the marks and tells where each marked stretch lies in the plain text.
#include <QList>
#include <QString>

namespace mvx {

struct KeyWordSpan
{
    int start = 0;  // 0-based character position in the plain text
    int length = 0; // characters
    friend bool operator==(const KeyWordSpan &, const KeyWordSpan &) = default;
};

struct MarkedText
{
    QString plain;
    QList<KeyWordSpan> keyWords;
    QString error; // non-empty: a mark was left open or encloses nothing
};

[[nodiscard]] MarkedText StripKeyWordMarks(const QString &marked);

} // namespace mvx
