#include "records/write_transaction.h"

#include <QSqlQuery>

namespace zentrope {

WriteTransaction::WriteTransaction(QSqlDatabase& db) : db_(db) {
    begun_ = Exec("BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction() {
    if (begun_ && !done_)
        Exec("ROLLBACK");
}

bool WriteTransaction::Commit() {
    done_ = begun_ && Exec("COMMIT");
    return done_;
}

bool WriteTransaction::Exec(const char* statement) {
    QSqlQuery query(db_);
    if (query.exec(QString::fromLatin1(statement)))
        return true;
    error_ = query.lastError();
    return false;
}

} // namespace zentrope
