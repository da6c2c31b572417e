#include "records/write_transaction.h"

#include <QSqlQuery>

namespace zentrope {

WriteTransaction::WriteTransaction(QSqlDatabase& db) : db_(db) {
    begun_ = exec("BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction() {
    if (begun_ && !done_)
        exec("ROLLBACK");
}

bool WriteTransaction::commit() {
    done_ = begun_ && exec("COMMIT");
    return done_;
}

bool WriteTransaction::exec(const char* statement) {
    QSqlQuery query(db_);
    if (query.exec(QString::fromLatin1(statement)))
        return true;
    error_ = query.lastError();
    return false;
}

} // namespace zentrope
