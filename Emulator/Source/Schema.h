#pragma once

#include "Database.h"

namespace Velmora
{
// Brings the database to the newest schema, one migration per transaction, recording each in
// the table schema_version. Refuses a database written by a newer emulator.
// Returns the schema version now in force.
int migrate(Database& db);

// Removes every row of every table but schema_version (the admin reset).
void clearAllData(Database& db);
}
