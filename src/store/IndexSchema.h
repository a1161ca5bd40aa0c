#pragma once

// The layout of the index database: table filez with the fields id, name and path, plus
// a name key column. The key holds the name case-folded (see Like.h) and is indexed, so
// that a pattern beginning with literal text is answered by a range of the index instead
// of a scan of every row through the like operator.

#include <QString>

struct sqlite3;

namespace kwiklet {

namespace indexschema {
inline constexpr const char* kTable = "filez";
inline constexpr const char* kNameKeyColumn = "name_key";
inline constexpr const char* kNameKeyIndex = "filez_name_key";

// Sets up a freshly opened connection to keep the name key right: triggers (living only
// as long as the connection) fill the key of every row inserted or renamed through it,
// and rows that another program stored without a key get theirs. True when the key can
// be relied on; false when the table lacks the key column or its index (a database made
// by another program) or the repair failed, and then nothing may be read through the key.
bool prepareNameKey(sqlite3* db);
}  // namespace indexschema

// Creates an empty index database at path. Refuses, with an AppError, when anything is
// already at path; the file appears complete or not at all.
void createIndexDatabase(const QString& path);

}  // namespace kwiklet
