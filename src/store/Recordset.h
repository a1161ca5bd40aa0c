#pragma once

// Rows of one statement, read one at a time, in the manner of the old data engine's
// recordsets: open with a cursor kind and a lock kind, test for the end, read fields by
// name, move on; the rebuild also adds rows through it.

#include "store/Statement.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

namespace kwiklet {

class Connection;

enum class CursorType : int { Keyset = 1, Dynamic = 2, Static = 3 };
enum class LockType : int { Optimistic = 3 };

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Runs the statement on the connection and stands on its first row. A statement that
    // would change the database, more than one statement, or a malformed one raises
    // err::kMalformedStatement; a missing or closed connection raises
    // err::kInvalidConnection.
    void open(const QString& source, Connection* connection, CursorType cursor, LockType lock,
              int options = -1);
    // Opens the search box's pattern statement for the typed text: the rows whose names
    // begin with it, under the like rule, in table order (see PatternQuery.h). A text
    // holding an apostrophe raises err::kMalformedStatement and reads nothing.
    void openPatternQuery(const QString& typedText, Connection* connection, CursorType cursor,
                          LockType lock);
    void close();
    bool isOpen() const;

    // True when the recordset stands past its last row.
    bool eof() const;
    // The current row's field as text; a field without a value reads as "".
    QString field(const char* name) const;
    // A field's position among the statement's columns, to read it row after row without
    // looking its name up each time; a name the statement lacks raises err::kItemNotFound.
    int fieldIndex(const char* name) const;
    // The current row's field at that position as the UTF-8 the index holds, without a
    // copy: valid until the recordset moves or closes.
    QByteArrayView fieldUtf8(int index) const;
    void moveNext();
    void moveFirst();
    // Runs the statement again, standing on its first row.
    void requery(int options = -1);

    // Adding a row: addNew(), setField() for each field, then update() stores it in the
    // table the statement reads. Storing a row ends the reading: the recordset then stands
    // past its last row until moveFirst() or requery() runs the statement again.
    void addNew();
    void setField(const char* name, const QString& value);
    void setField(const char* name, qint64 value);
    void update();

private:
    // Takes over a prepared statement of the connection and stands on its first row. A
    // statement reading in an index's order ends each row with its rowid; its rows are
    // read at once and delivered in table order.
    enum class RowOrder { AsRead, InIndexThenTable };
    void adopt(Connection* connection, store::StatementPtr statement,
               RowOrder order = RowOrder::AsRead);

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace kwiklet
