#pragma once
// One refused input: the file it comes from, the 1-based line (0 = the file as a
// whole) and what is wrong, shown to the learner as "file:line: message".
#include <QString>

namespace mvx {

struct InputError
{
    QString file;
    int line = 0;
    QString message;

    [[nodiscard]] bool isError() const { return !message.isEmpty(); }
    [[nodiscard]] QString toString() const
    {
        if (file.isEmpty())
            return message;
        return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message)
                        : QStringLiteral("%1: %2").arg(file, message);
    }
};

} // namespace mvx
