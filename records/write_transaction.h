// One write to the run index that happens whole or not at all.
#pragma once

#include <QSqlDatabase>
#include <QSqlError>

namespace zentrope {

// Takes the write lock at once (BEGIN IMMEDIATE), so that two windows writing at the same
// time wait for each other instead of failing halfway; rolled back unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(QSqlDatabase& db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    bool Begun() const { return begun_; }
    bool Commit();
    // Why beginning or committing failed.
    QSqlError Error() const { return error_; }

private:
    bool Exec(const char* statement);

    QSqlDatabase& db_;
    bool begun_ = false;
    bool done_ = false;
    QSqlError error_;
};

} // namespace zentrope
