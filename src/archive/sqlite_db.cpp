#include "archive/sqlite_db.h"

#include <sqlite3.h>

namespace zb {

bool SqliteError::busy() const {
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool SqliteError::damaged() const {
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

bool SqliteError::interrupted() const {
    return code == SQLITE_READONLY;
}

Database::Database(const std::string& path, Mode mode, int busyMillis) {
    const int flags =
        mode == Mode::kReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string what = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError(rc & 0xFF, what);
    }
    sqlite3_extended_result_codes(db_, 0);
    sqlite3_busy_timeout(db_, busyMillis);
}

Database::~Database() {
    sqlite3_close(db_);
}

void Database::fail(int code) const {
    throw SqliteError(code & 0xFF, sqlite3_errmsg(db_));
}

void Database::exec(const char* sql) {
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) fail(rc);
}

Statement Database::prepare(const char* sql) {
    return Statement(*this, sql);
}

int64_t Database::scalar(const char* sql) {
    Statement st(*this, sql);
    return st.step() ? st.integer(0) : 0;
}

Statement::Statement(Database& db, const char* sql) : db_(&db) {
    const int rc = sqlite3_prepare_v2(db.handle(), sql, -1, &st_, nullptr);
    if (rc != SQLITE_OK) db.fail(rc);
}

Statement::~Statement() {
    sqlite3_finalize(st_);
}

Statement& Statement::bind(int index, int64_t v) {
    const int rc = sqlite3_bind_int64(st_, index, v);
    if (rc != SQLITE_OK) db_->fail(rc);
    return *this;
}

Statement& Statement::bind(int index, const std::string& v) {
    const int rc =
        sqlite3_bind_text(st_, index, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) db_->fail(rc);
    return *this;
}

Statement& Statement::bind(int index, std::optional<int32_t> v) {
    const int rc = v ? sqlite3_bind_int64(st_, index, *v) : sqlite3_bind_null(st_, index);
    if (rc != SQLITE_OK) db_->fail(rc);
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(st_);
    db_->fail(rc);
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}

int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(st_, column);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(st_, column) == SQLITE_NULL;
}

std::string Statement::text(int column) const {
    const unsigned char* t = sqlite3_column_text(st_, column);
    return t ? std::string(reinterpret_cast<const char*>(t),
                           static_cast<std::size_t>(sqlite3_column_bytes(st_, column)))
             : std::string();
}

Transaction::Transaction(Database& db) : db_(db) {
    // The write lock at once: a busy database shows here, before any work.
    db_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (open_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    db_.exec("COMMIT");
    open_ = false;
}

}  // namespace zb
