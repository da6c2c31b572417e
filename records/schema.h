// The run index's tables, and bringing an index of any earlier version up to this one.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace zentrope {

// Brings the open database to the newest schema, each step in a transaction of its own.
// Returns an empty text, or why it could not (among others: an index made by a newer
// version of the program, which is left untouched).
QString MigrateSchema(QSqlDatabase& db);

// The schema version this program writes.
int CurrentSchemaVersion();

} // namespace zentrope
