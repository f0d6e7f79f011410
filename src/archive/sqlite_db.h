#pragma once
// A small owner of an SQLite connection and its statements. Errors become
// SqliteError with SQLite's result code, so callers can tell a busy database
// from a damaged one.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace zb {

struct SqliteError : std::runtime_error {
    int code;  // SQLite's primary result code
    SqliteError(int c, const std::string& what) : std::runtime_error(what), code(c) {}
    bool busy() const;     // another program holds the lock
    bool damaged() const;  // not a database, or a corrupt one
    // A read-only connection met a write a crash interrupted: only a
    // connection that may write can roll it back.
    bool interrupted() const;
};

class Statement;

class Database {
  public:
    enum class Mode { kReadOnly, kReadWrite, kReadWriteCreate };
    Database(const std::string& path, Mode mode, int busyMillis);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(const char* sql);
    Statement prepare(const char* sql);
    // The first column of the first row as an integer, 0 without a row.
    int64_t scalar(const char* sql);
    [[noreturn]] void fail(int code) const;
    sqlite3* handle() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

class Statement {
  public:
    Statement(Database& db, const char* sql);
    ~Statement();
    Statement(Statement&& o) noexcept : db_(o.db_), st_(o.st_) { o.st_ = nullptr; }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, int64_t v);
    Statement& bind(int index, const std::string& v);
    Statement& bind(int index, std::optional<int32_t> v);
    // true while a row is there.
    bool step();
    // Runs it to the end and makes it ready to run again.
    void run();
    void reset();
    int64_t integer(int column) const;
    bool isNull(int column) const;
    std::string text(int column) const;

  private:
    Database* db_;
    sqlite3_stmt* st_ = nullptr;
};

// Commits when commit() is called, rolls back otherwise.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();

  private:
    Database& db_;
    bool open_ = true;
};

}  // namespace zb
