#pragma once

// The layout of the index database: table filez with the fields id, name and path, plus
// a name key column, name_key. The key holds the name case-folded (see Like.h) and is
// indexed (filez_name_key), so that a pattern beginning with literal text is answered by
// a range of the index instead of a scan of every row through the like operator.

#include <QString>

#include <cstdint>
#include <optional>

struct sqlite3;

namespace kwiklet {

namespace indexschema {

// How a connection to the index is opened: read-write, never creating the file, and
// without SQLite's locking of the connection on every call, which a connection used by
// one thread only does not need (a full read calls SQLite several times a row).
int openFlags();

// Sets up a freshly opened connection to keep the name key right: triggers (living only
// as long as the connection) fill the key of every row inserted or renamed through it,
// and a key whose index is missing gets it back.
// False when the table lacks the key column or its index (a database made by another
// program) or the triggers cannot be made; nothing may then be read through the key.
bool prepareNameKey(sqlite3* db);

// The key's index, set aside while many rows are stored (each row then commits one
// page instead of two) and built again in one go afterwards. Opening the file builds it
// again should the program have stopped in between. False when SQLite refuses.
bool dropNameKeyIndex(sqlite3* db);
bool createNameKeyIndex(sqlite3* db);

// Gives every row whose key does not match its name the right one: rows another program
// added or renamed without knowing about the key. Writes nothing when every key is
// right. Unless evenMany is set, leaves the keys as they are when most of many are wrong
// (a table another program filled): that repair takes seconds at a million rows.
enum class KeyRepair { Done, Failed, TooMany };
KeyRepair repairNameKeys(sqlite3* db, bool evenMany);

// A number that changes whenever another connection, in this process or another, has
// committed a change to the file since it was last read; changes made through db itself
// leave it as it is. Nothing when it cannot be read.
std::optional<std::int64_t> dataVersion(sqlite3* db);
}  // namespace indexschema

// Creates an empty index database at path. Refuses, with an AppError, when anything is
// already at path; the file appears complete or not at all.
void createIndexDatabase(const QString& path);

}  // namespace kwiklet
