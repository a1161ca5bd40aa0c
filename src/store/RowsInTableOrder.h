#pragma once

// The rows of a statement that reads them in another order (an index's), held and put
// back in table order: reading a range of an index that holds every column and sorting
// its rows here is far cheaper than looking each row up in the table, and than SQLite's
// own sorter.

#include <QByteArrayView>

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace kwiklet::store {

class RowsInTableOrder {
public:
    // Steps the statement to its end and resets it. Its last column is the rowid, which
    // orders the rows and is not one of theirs. Raises as a recordset's step does. Rows
    // that would take more than mostBytes are not held: the object is then empty and
    // says so.
    RowsInTableOrder(sqlite3_stmt* statement, std::size_t mostBytes);

    bool tooManyToHold() const { return tooMany_; }
    std::size_t size() const { return rows_.size(); }
    // A column's text in the row at that position; a null view for NULL. Valid until the
    // next call for the same column.
    QByteArrayView text(std::size_t row, int column) const;

private:
    struct Row {
        std::int64_t rowid;
        std::size_t offset;  // of its fields in fields_
    };
    // Each field is its size (or one of the marks below) and its bytes; a whole number
    // is kept as such and becomes text only when asked for, which is rarely.
    static constexpr std::int32_t kNull = -1;
    static constexpr std::int32_t kWholeNumber = -2;

    void sortByRowid();

    int columns_;
    bool tooMany_ = false;
    std::vector<Row> rows_;
    std::string fields_;
    mutable std::vector<std::string> numbers_;  // a whole number's text, one per column
};

}  // namespace kwiklet::store
