#pragma once

// The index database avs.dat: the program's entries (an id, a name, a path), read by the
// load and the search box, written by the rebuild alone. The store runs only its own
// statements; typed text reaches it as a value, never as SQL.

#include "store/IndexRows.h"
#include "store/Statement.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct sqlite3;

namespace kwiklet {

// The most the write-ahead log beside the file (avs.dat-wal) keeps between two writes:
// whenever the log starts over it is cut back to this size, and a rebuild and closing
// the store empty it.
inline constexpr std::int64_t kLogSizeLimitBytes = 4 * 1024 * 1024;

class IndexStore {
public:
    // The store of the index file at path, closed.
    explicit IndexStore(QString path);
    ~IndexStore();
    IndexStore(const IndexStore&) = delete;
    IndexStore& operator=(const IndexStore&) = delete;

    const QString& path() const { return path_; }

    // Opens the file, which must exist and be an index database: the store never creates
    // one. Raises err::kStoreFailure, saying why, when it cannot. An open store stays as
    // it is.
    void open();
    // Closes the rows it handed out, then the file. Closing a closed store raises
    // err::kObjectClosed.
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Every entry, in table order. Every operation on a closed store raises
    // err::kInvalidConnection.
    IndexRows allEntries();
    // The entries whose names begin with the typed text under the like rule (see Like.h),
    // in table order. A text holding an apostrophe raises err::kMalformedStatement and
    // reads nothing.
    IndexRows entriesMatching(const QString& typedText);

    // Removes every entry.
    void deleteAll();
    // Stores one entry, committed on its own. A table without the id, name or path field
    // raises err::kItemNotFound.
    void storeEntry(std::int64_t id, const QString& name, const QString& path);
    // Around storing many entries one by one (a rebuild): the name key's index is set
    // aside meanwhile, so that each entry commits half the pages, and built again in one
    // go at the end. Searches scan every name in between. The log is written back into
    // the file often enough to stay small, and emptied at the end. The end never raises:
    // should the index not come back, searches go on scanning.
    void beginStoringMany();
    void endStoringMany();

    // Whether the table's name key can be relied on to narrow a search (see
    // IndexSchema.h). Opening repairs every key another program left wrong, unless there
    // are many; then searches scan every name until repairPutOffNameKeys runs, which
    // callers put behind the wait window (seconds at a million entries). It never raises.
    bool nameKeyReady() const { return nameKeyReady_; }
    void repairPutOffNameKeys();

private:
    void requireOpen() const;
    // False when another program may have changed names since the keys were last
    // repaired. Asked while a statement reads the table, it speaks of the rows that
    // statement reads.
    bool nameKeyCurrent() const;
    void refreshNameKey();
    sqlite3_stmt* insertStatement();

    QString path_;
    sqlite3* db_ = nullptr;
    bool nameKeyReady_ = false;
    bool nameKeyPutOff_ = false;
    std::optional<std::int64_t> keyCheckedAtVersion_;  // the file's data version then
    QByteArray entriesStatement_;                      // what allEntries runs
    store::StatementPtr insert_;                       // compiled once for all entries stored
    std::vector<IndexRows*> openRows_;
};

}  // namespace kwiklet
