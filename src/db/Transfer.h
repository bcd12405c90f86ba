#pragma once
// Moving a meet between a file and a server: every table with its fields, declared types and
// rows in record order, the format and the schema version. Each move is one transaction on
// the receiving side, so a failure leaves nothing half-written and the source is only read.

#include "db/Engine.h"

namespace arenor::db {

// Copies the open meet `from` into `to`, a server database that holds no tables (opened with
// FileProblem::Empty). Fails when another station has put a meet there in the meantime.
Status uploadMeet(Database &from, Database &to);
// Writes the open meet `from` to a new SQLite meet file at `path`; fails when it exists.
Status downloadMeet(Database &from, const QString &path);

} // namespace arenor::db
