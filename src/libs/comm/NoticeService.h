#pragma once
// The maker's notices, kept in a local messages file in the program home (nothing is
// fetched from the network), and the serial number of the last notice the learner saw,
// kept in the settings store (application AppName, section "notices", key "MaxViewedMsg").
//
// Messages file "notices.txt" (UTF-8 or GB18030): one notice per non-blank line, in
// increasing serial order, newest last:
//     serial.text shown to the learner[^web address]
// e.g. "12.New lessons are out^https://example.org/news". Blank lines are skipped.
// The new notices are the last lines whose serial is above the seen serial: counting
// stops at the first line from the end that is not newer (or has no serial), because the
// notice window shows exactly the last N lines.
#include <QString>
#include <QStringList>

namespace mvx {

class NoticeService final
{
public:
    static constexpr auto FileName = "notices.txt";

    // The messages file of the home: AppPath (else the current folder) + "/notices.txt".
    [[nodiscard]] static QString DefaultFile();
    // The number before the first "." of a line, or -1 when there is none.
    [[nodiscard]] static int SerialOf(const QString &line);
    // How many of the last non-blank lines are newer than seenSerial.
    [[nodiscard]] static int CountNew(const QStringList &lines, int seenSerial);

    [[nodiscard]] static int SeenSerial();
    // Stores the serial when it is above the stored one; returns the stored value.
    static int MarkSeen(int serial);

    // New notices in the file (0 when it is missing or unreadable).
    [[nodiscard]] static int NewCount(const QString &file);
};

} // namespace mvx
