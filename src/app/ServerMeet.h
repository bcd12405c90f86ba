#pragma once
// A meet on a PostgreSQL server: the questions for its address and password, and the database
// menu's commands that open one, upload the open meet file to one and download one to a file.
// The password is asked only when the server wants one and ~/.pgpass has none; it is kept in
// this program's memory for reconnecting and never written to any file.

#include "app/Lifecycle.h"

#include <optional>

namespace arenor::lifecycle {

// The address questions: server, port, database, user. proposed fills the answers proposed.
// An empty server, port or user is libpq's default. nullopt when one is cancelled or an answer is unusable
// (the user is told which).
std::optional<db::ServerAddress> askServerAddress(AppState &state, const db::ServerAddress &proposed);

// Opens the server meet at address in database. Without a known password first; when the
// server wants one it is asked (hidden) and the open is tried once more. A password that opens
// is remembered for this run. problem tells why it failed (PasswordNeeded also on a cancel).
Status openServerDatabase(AppState &state, db::Database &database, const QString &address,
                          db::FileProblem *problem = nullptr);
// The password remembered for address in this run, empty when none.
QString knownPassword(const QString &address);
void rememberPassword(const QString &address, const QString &password);

// Asks the address and makes that server meet current; the meet open already is read again.
Outcome openServerMeet(AppState &state);
// Copies the open meet file to an empty server database, then offers to go on there.
Outcome uploadToServer(AppState &state);
// Writes the open server meet to a new meet file, then offers to go on with the file.
Outcome downloadFromServer(AppState &state);

// True, after telling the user, when the current meet is on a server: the commands that work
// on the meet file itself (repair, compact, copy, reset) stop there.
bool refusedOnServer(AppState &state);

} // namespace arenor::lifecycle
