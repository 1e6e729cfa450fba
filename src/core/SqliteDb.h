#pragma once
// Thin RAII wrapper over the SQLite C API, shared by every file format that lives
// in SQLite (settings store, books, notebooks). Errors come back as false / empty
// results with lastError() set; nothing throws.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace mvx {

class SqliteStatement final
{
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3 *db, sqlite3_stmt *stmt) : m_db(db), m_stmt(stmt) {}
    SqliteStatement(SqliteStatement &&other) noexcept;
    SqliteStatement &operator=(SqliteStatement &&other) noexcept;
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;
    ~SqliteStatement();

    [[nodiscard]] bool isValid() const { return m_stmt != nullptr; }
    // Binds are 1-based, as in SQLite. A null QVariant binds NULL.
    void bind(int index, const QVariant &value);
    void bind(int index, const QString &value);
    void bind(int index, qint64 value);
    void bindBlob(int index, const QByteArray &value);
    // Steps once: true while a row is available. done() tells a clean end.
    bool next();
    [[nodiscard]] bool done() const { return m_done; }
    // Runs to completion (for writes); false on error.
    bool exec();
    void reset();

    [[nodiscard]] QString text(int column) const;
    [[nodiscard]] qint64 integer(int column) const;
    [[nodiscard]] double real(int column) const;
    [[nodiscard]] QByteArray blob(int column) const;
    [[nodiscard]] bool isNull(int column) const;

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_done = false;
};

class SqliteDb final
{
public:
    enum class Mode { ReadOnly, ReadWrite, ReadWriteCreate };

    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb &) = delete;
    SqliteDb &operator=(const SqliteDb &) = delete;

    // Opens the file; busyTimeoutMs lets concurrent writers of other processes wait.
    bool open(const QString &path, Mode mode, int busyTimeoutMs = 5000);
    void close();
    [[nodiscard]] bool isOpen() const { return m_db != nullptr; }
    // The file was opened but may not be written (its permissions, a read-only mount).
    [[nodiscard]] bool isReadOnly() const;

    bool exec(const QString &sql);
    [[nodiscard]] SqliteStatement prepare(const QString &sql);
    // Scalar helpers: the first column of the first row, or the fallback.
    [[nodiscard]] QVariant scalar(const QString &sql, const QVariant &fallback = {});

    bool begin(bool immediate = true);
    bool commit();
    void rollback();
    // A transaction is open on this connection (a failed COMMIT can leave one open).
    [[nodiscard]] bool inTransaction() const;

    // PRAGMA quick_check answers "ok" and the file is a database.
    [[nodiscard]] bool checkIntegrity();
    [[nodiscard]] QString lastError() const { return m_error; }
    // SQLite's primary result code of the last failure (SQLITE_BUSY, SQLITE_CORRUPT, ...); 0 = none.
    [[nodiscard]] int lastErrorCode() const { return m_errorCode; }
    // The last failure says the file is damaged or no database at all (not busy, locked or unreadable).
    [[nodiscard]] bool lastErrorMeansDamaged() const;
    [[nodiscard]] sqlite3 *handle() const { return m_db; }

private:
    void setError(int code, const QString &text);

    sqlite3 *m_db = nullptr;
    QString m_error;
    int m_errorCode = 0;
};

// Runs a set of writes as one transaction; rolls back unless commit() was called.
class SqliteTransaction final
{
public:
    explicit SqliteTransaction(SqliteDb &db) : m_db(db) { m_active = m_db.begin(); }
    ~SqliteTransaction()
    {
        if (m_active)
            m_db.rollback();
    }
    [[nodiscard]] bool isActive() const { return m_active; }
    // A COMMIT that fails (another process holds the file) is rolled back at once, so the
    // connection never stays inside a half-done transaction; lastError() keeps the cause.
    bool commit()
    {
        if (!m_active)
            return false;
        m_active = false;
        if (m_db.commit())
            return true;
        if (m_db.inTransaction())
            m_db.rollback();
        return false;
    }

private:
    SqliteDb &m_db;
    bool m_active = false;
};

} // namespace mvx
