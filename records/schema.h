// The run index's tables, and bringing an index of any earlier version up to this one.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace zentrope {

// Brings the open database to the newest schema, each step in a transaction of its own.
// Returns an empty text, or why it could not (among others: an index made by a newer
// version of the program, which is left untouched).
QString MigrateSchema(QSqlDatabase& db);

// The version the open database holds; -1 when it cannot be read.
int StoredSchemaVersion(QSqlDatabase& db);

// Empty, or why this program must leave the index alone (it was made by a newer version).
QString CheckSchemaVersion(QSqlDatabase& db);

// The schema version this program writes.
int CurrentSchemaVersion();

} // namespace zentrope
