#include "SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace mvx {

namespace {
const char *const kSchema = "CREATE TABLE IF NOT EXISTS setting ("
                            " app TEXT NOT NULL COLLATE NOCASE,"
                            " section TEXT NOT NULL COLLATE NOCASE,"
                            " key TEXT NOT NULL COLLATE NOCASE,"
                            " value TEXT NOT NULL,"
                            " PRIMARY KEY (app, section, key))";
}

SettingsStore &SettingsStore::instance()
{
    static SettingsStore store(defaultPath());
    return store;
}

QString SettingsStore::defaultPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/MorvexSoft/settings.sqlite");
}

SettingsStore::SettingsStore(const QString &path) : m_path(path) {}

SettingsStore::OpenResult SettingsStore::failure()
{
    const OpenResult result = m_db.lastErrorMeansDamaged() ? OpenResult::Damaged : OpenResult::Unavailable;
    m_read = {};
    m_write = {};
    m_db.close();
    return result;
}

SettingsStore::OpenResult SettingsStore::openFresh()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!m_db.open(m_path, SqliteDb::Mode::ReadWriteCreate))
        return failure();
    // WAL lets other programs of the family read while one writes.
    if (!m_db.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !m_db.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))
        || !m_db.exec(QString::fromLatin1(kSchema)) || !m_db.checkIntegrity())
        return failure();
    m_read = m_db.prepare(QStringLiteral("SELECT value FROM setting WHERE app=?1 AND section=?2 AND key=?3"));
    m_write = m_db.prepare(QStringLiteral("INSERT INTO setting(app, section, key, value) VALUES(?1, ?2, ?3, ?4) "
                                          "ON CONFLICT(app, section, key) DO UPDATE SET value=excluded.value"));
    if (!m_read.isValid() || !m_write.isValid())
        return failure();
    // A file the learner may read but not write still gives its values.
    m_writable = !m_db.isReadOnly();
    if (!m_writable)
        m_notice = QStringLiteral("设置文件 %1 不能写入，本次运行中对设置的改动不会保存。").arg(m_path);
    return OpenResult::Opened;
}

bool SettingsStore::ensureOpen()
{
    if (m_db.isOpen())
        return true;
    if (m_tried)
        return false;
    m_tried = true;
    const OpenResult first = openFresh();
    if (first == OpenResult::Opened)
        return true;
    if (first == OpenResult::Unavailable) {
        // Busy, locked by another program or unreadable: the file may be sound, so it stays
        // where it is and this run neither reads nor writes it.
        m_notice = QStringLiteral("设置文件 %1 现在无法使用（%2）。本次运行使用默认设置，对设置的改动不会保存；"
                                  "下次启动时会再试。")
                       .arg(m_path, m_db.lastError());
        return false;
    }
    // Damaged (or not a database at all): set it aside, keep it for the learner, start afresh.
    if (QFileInfo::exists(m_path)) {
        const QString aside = m_path + QStringLiteral(".damaged-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        QFile::rename(m_path, aside);
        QFile::remove(m_path + QStringLiteral("-wal"));
        QFile::remove(m_path + QStringLiteral("-shm"));
        m_notice = QStringLiteral("设置文件已损坏，已另存为 %1，程序将使用新的设置。").arg(aside);
    }
    return openFresh() == OpenResult::Opened;
}

bool SettingsStore::isWritable()
{
    return ensureOpen() && m_writable;
}

std::optional<QString> SettingsStore::value(const QString &app, const QString &section, const QString &key)
{
    if (!ensureOpen())
        return std::nullopt;
    m_read.reset();
    m_read.bind(1, app);
    m_read.bind(2, section);
    m_read.bind(3, key);
    std::optional<QString> result;
    if (m_read.next())
        result = m_read.text(0);
    m_read.reset();
    return result;
}

QString SettingsStore::value(const QString &app, const QString &section, const QString &key,
                             const QString &fallback)
{
    return value(app, section, key).value_or(fallback);
}

bool SettingsStore::setValue(const QString &app, const QString &section, const QString &key, const QString &value)
{
    if (!isWritable())
        return false;
    m_write.reset();
    m_write.bind(1, app);
    m_write.bind(2, section);
    m_write.bind(3, key);
    m_write.bind(4, value);
    const bool ok = m_write.exec();
    m_write.reset();
    return ok;
}

bool SettingsStore::remove(const QString &app, const QString &section, const QString &key)
{
    if (!isWritable())
        return false;
    SqliteStatement st = m_db.prepare(QStringLiteral("DELETE FROM setting WHERE app=?1 AND section=?2 AND key=?3"));
    st.bind(1, app);
    st.bind(2, section);
    st.bind(3, key);
    return st.exec();
}

QString SettingsStore::takeNotice()
{
    ensureOpen();
    return std::exchange(m_notice, QString());
}

} // namespace mvx
