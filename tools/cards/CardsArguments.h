#pragma once
// The cards tool's command line, checked whole before anything is written: every refusal
// is one line naming the argument.
#include "player/excerpt/SentenceCards.h"

#include <QString>
#include <QStringList>

namespace mvx::excerpt {

struct CardsArguments
{
    QString book;
    int lesson = -1;
    CardSelection selection;
    QString out;
    int padMs = 150;
    QString error; // non-empty when the command line is refused

    // args without the program name.
    [[nodiscard]] static CardsArguments Parse(const QStringList &args);
    // Whether files can be made in dir (it exists as a writable folder, or can be made in one).
    [[nodiscard]] static bool CanWriteIn(const QString &dir);
};

} // namespace mvx::excerpt
