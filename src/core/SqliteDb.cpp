#include "SqliteDb.h"

#include <sqlite3.h>

namespace mvx {

SqliteStatement::SqliteStatement(SqliteStatement &&other) noexcept
    : m_db(other.m_db), m_stmt(other.m_stmt), m_done(other.m_done)
{
    other.m_stmt = nullptr;
}

SqliteStatement &SqliteStatement::operator=(SqliteStatement &&other) noexcept
{
    if (this != &other) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = other.m_stmt;
        m_done = other.m_done;
        other.m_stmt = nullptr;
    }
    return *this;
}

SqliteStatement::~SqliteStatement()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

void SqliteStatement::bind(int index, const QVariant &value)
{
    if (!m_stmt)
        return;
    if (value.isNull()) {
        sqlite3_bind_null(m_stmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        sqlite3_bind_int64(m_stmt, index, value.toLongLong());
        break;
    case QMetaType::Double:
        sqlite3_bind_double(m_stmt, index, value.toDouble());
        break;
    case QMetaType::QByteArray:
        bindBlob(index, value.toByteArray());
        break;
    default:
        bind(index, value.toString());
    }
}

void SqliteStatement::bind(int index, const QString &value)
{
    if (!m_stmt)
        return;
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int index, qint64 value)
{
    if (m_stmt)
        sqlite3_bind_int64(m_stmt, index, value);
}

void SqliteStatement::bindBlob(int index, const QByteArray &value)
{
    if (m_stmt)
        sqlite3_bind_blob(m_stmt, index, value.constData(), int(value.size()), SQLITE_TRANSIENT);
}

bool SqliteStatement::next()
{
    if (!m_stmt)
        return false;
    const int rc = sqlite3_step(m_stmt);
    m_done = rc == SQLITE_DONE;
    return rc == SQLITE_ROW;
}

bool SqliteStatement::exec()
{
    if (!m_stmt)
        return false;
    int rc;
    while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
    }
    m_done = rc == SQLITE_DONE;
    return m_done;
}

void SqliteStatement::reset()
{
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    m_done = false;
}

QString SqliteStatement::text(int column) const
{
    if (!m_stmt)
        return {};
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, column)) : QString();
}

qint64 SqliteStatement::integer(int column) const
{
    return m_stmt ? sqlite3_column_int64(m_stmt, column) : 0;
}

double SqliteStatement::real(int column) const
{
    return m_stmt ? sqlite3_column_double(m_stmt, column) : 0.0;
}

QByteArray SqliteStatement::blob(int column) const
{
    if (!m_stmt)
        return {};
    const void *p = sqlite3_column_blob(m_stmt, column);
    return p ? QByteArray(static_cast<const char *>(p), sqlite3_column_bytes(m_stmt, column)) : QByteArray();
}

bool SqliteStatement::isNull(int column) const
{
    return !m_stmt || sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

SqliteDb::~SqliteDb()
{
    close();
}

bool SqliteDb::open(const QString &path, Mode mode, int busyTimeoutMs)
{
    close();
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case Mode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::ReadWriteCreate:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        setError(rc, m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("cannot open %1").arg(path));
        if (m_db)
            sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
    return true;
}

bool SqliteDb::isReadOnly() const
{
    return m_db && sqlite3_db_readonly(m_db, "main") == 1;
}

void SqliteDb::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool SqliteDb::exec(const QString &sql)
{
    if (!m_db)
        return false;
    char *err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        setError(rc, err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc)));
        sqlite3_free(err);
        return false;
    }
    return true;
}

SqliteStatement SqliteDb::prepare(const QString &sql)
{
    if (!m_db)
        return {};
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr); rc != SQLITE_OK) {
        setError(rc, QString::fromUtf8(sqlite3_errmsg(m_db)));
        return {};
    }
    return SqliteStatement(m_db, stmt);
}

QVariant SqliteDb::scalar(const QString &sql, const QVariant &fallback)
{
    SqliteStatement st = prepare(sql);
    if (!st.next())
        return fallback;
    return st.text(0);
}

bool SqliteDb::begin(bool immediate)
{
    return exec(immediate ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
}

bool SqliteDb::commit()
{
    return exec(QStringLiteral("COMMIT"));
}

void SqliteDb::rollback()
{
    exec(QStringLiteral("ROLLBACK"));
}

bool SqliteDb::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

bool SqliteDb::checkIntegrity()
{
    SqliteStatement st = prepare(QStringLiteral("PRAGMA quick_check"));
    if (!st.isValid())
        return false;
    if (!st.next()) {
        setError(sqlite3_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
        return false;
    }
    if (st.text(0) == QLatin1String("ok"))
        return true;
    setError(SQLITE_CORRUPT, st.text(0));
    return false;
}

void SqliteDb::setError(int code, const QString &text)
{
    m_errorCode = code & 0xff;
    m_error = text;
}

bool SqliteDb::lastErrorMeansDamaged() const
{
    return m_errorCode == SQLITE_CORRUPT || m_errorCode == SQLITE_NOTADB;
}

} // namespace mvx
