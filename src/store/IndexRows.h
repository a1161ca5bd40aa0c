#pragma once

// Entries of the index read one at a time, in the order the store delivers them: test for
// the end, read the name and the path, move on. The store hands them out (IndexStore's
// allEntries and entriesMatching) and closes them when it closes itself, so none is left
// reading a closed file.

#include "store/RowsInTableOrder.h"
#include "store/Statement.h"

#include <QByteArrayView>

#include <optional>
#include <vector>

namespace kwiklet {

class IndexRows {
public:
    // Rows that read nothing: closed.
    IndexRows() = default;
    IndexRows(IndexRows&& other) noexcept;
    IndexRows& operator=(IndexRows&& other) noexcept;
    ~IndexRows();

    bool isOpen() const { return statement_ != nullptr; }
    // True when the rows stand past the last entry.
    bool atEnd() const;
    // The current entry's name and path as the UTF-8 the index holds, without a copy:
    // valid until the rows move on or close. An entry without a value reads as empty.
    // Reading past the last entry raises err::kNoCurrentRecord; a table without the
    // field raises err::kItemNotFound.
    QByteArrayView nameUtf8() const { return field(nameColumn_); }
    QByteArrayView pathUtf8() const { return field(pathColumn_); }
    void next();
    // Every operation on closed rows, closing them again included, raises
    // err::kObjectClosed.
    void close();

private:
    friend class IndexStore;
    // Stands on the statement's first row and registers with the store's open rows,
    // which the store closes when it closes.
    IndexRows(std::vector<IndexRows*>& openRows, store::StatementPtr statement);
    // For a statement that reads in an index's order, each row followed by its rowid:
    // reads its rows at once and delivers them in table order, unless they would take
    // more than mostBytes (see tooManyToHold).
    IndexRows(std::vector<IndexRows*>& openRows, store::StatementPtr statement,
              std::size_t mostBytes);
    bool tooManyToHold() const { return held_ && held_->tooManyToHold(); }
    void registerWith(std::vector<IndexRows*>& openRows);

    void requireOpen() const;
    QByteArrayView field(int column) const;
    void step();
    void leaveOpenRows();

    std::vector<IndexRows*>* openRows_ = nullptr;
    store::StatementPtr statement_;
    std::optional<store::RowsInTableOrder> held_;
    std::size_t heldRow_ = 0;
    bool atEnd_ = true;
    int nameColumn_ = -1;
    int pathColumn_ = -1;
};

}  // namespace kwiklet
