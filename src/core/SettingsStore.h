#pragma once
// The per-user settings store: application -> section -> key -> text value, names
// compared without case, values kept exactly. One SQLite file per user at
// $XDG_CONFIG_HOME/MorvexSoft/settings.sqlite, shared by every program of the family.
// A damaged file (SQLite reports corruption, or it is no database) is set aside and a
// fresh store used. A store that is busy, locked or unreadable is left as it is: the
// program then runs without writing settings until its next start. takeNotice() tells
// the learner once in either case.
#include "SqliteDb.h"

#include <QString>
#include <optional>

namespace mvx {

class SettingsStore final
{
public:
    // The process's store at the default location (opened on first use).
    static SettingsStore &instance();
    // Default location of the per-user store file.
    [[nodiscard]] static QString defaultPath();

    explicit SettingsStore(const QString &path);
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    [[nodiscard]] std::optional<QString> value(const QString &app, const QString &section, const QString &key);
    [[nodiscard]] QString value(const QString &app, const QString &section, const QString &key,
                                const QString &fallback);
    // One committed write; false when the store cannot be written.
    bool setValue(const QString &app, const QString &section, const QString &key, const QString &value);
    bool remove(const QString &app, const QString &section, const QString &key);

    [[nodiscard]] QString path() const { return m_path; }
    // False once the store could not be opened for writing (busy, locked, unreadable).
    [[nodiscard]] bool isWritable();
    // Non-empty once when the store was set aside as damaged or cannot be written: a
    // message for the learner.
    [[nodiscard]] QString takeNotice();

private:
    enum class OpenResult { Opened, Damaged, Unavailable };
    bool ensureOpen();
    OpenResult openFresh();
    OpenResult failure();
    bool openForReading();

    QString m_path;
    SqliteDb m_db;
    SqliteStatement m_read;
    SqliteStatement m_write;
    bool m_tried = false;
    bool m_writable = false;
    QString m_notice;
};

} // namespace mvx
