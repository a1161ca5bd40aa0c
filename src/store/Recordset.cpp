#include "store/Recordset.h"

#include "store/Connection.h"
#include "store/Like.h"
#include "store/PatternQuery.h"
#include "store/RowsInTableOrder.h"
#include "store/Statement.h"
#include "store/StoreErrors.h"

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace kwiklet {
namespace {

using FieldValue = std::variant<QString, qint64>;

QByteArray quoted(const QByteArray& identifier) {
    QByteArray result = identifier;
    result.replace('"', "\"\"");
    return '"' + result + '"';
}

// The table rows added through the statement go to: the one table every column of the
// statement reads, as "database"."table". Empty when the columns come from several
// tables or from expressions, and then rows cannot be added.
QByteArray tableOfColumns(sqlite3_stmt* statement) {
    QByteArray table;
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) {
        const char* database = sqlite3_column_database_name(statement, i);
        const char* name = sqlite3_column_table_name(statement, i);
        if (!database || !name) {
            return {};
        }
        const QByteArray column = quoted(database) + '.' + quoted(name);
        if (!table.isEmpty() && column != table) {
            return {};
        }
        table = column;
    }
    return table;
}

void requireOpenConnection(const Connection* connection) {
    if (!connection || connection->state() != ObjectState::Open) {
        throw storeerror::invalidConnection();
    }
}

// The most the rows of a key range may take while they are put in table order: a range
// of a quarter of a million typical rows. A larger one is read by a scan.
constexpr std::size_t kMostHeldBytes = std::size_t{16} << 20;

AppError noCurrentRecord() {
    return AppError(err::kNoCurrentRecord,
                    QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                   "deleted. Requested operation requires a current record."));
}

}  // namespace

struct Recordset::State {
    Connection* connection = nullptr;
    store::StatementPtr statement;
    bool eof = true;
    std::vector<QByteArray> columns;
    QByteArray table;  // where added rows go; empty when rows cannot be added
    bool adding = false;
    std::vector<std::optional<FieldValue>> newRow;  // one per column
    QByteArray insertSql;                           // the statement that stored the last added row
    store::StatementPtr insert;
    // For a statement that reads in an index's order: its rows, read at once and held in
    // table order, and the one the recordset stands on.
    std::optional<store::RowsInTableOrder> held;
    std::size_t heldRow = 0;

    sqlite3* db() const { return connection->handle(); }

    void requireOpen() const {
        if (!statement) {
            throw storeerror::objectClosed();
        }
    }

    int column(const char* name) const {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (qstricmp(columns[i].constData(), name) == 0) {
                return static_cast<int>(i);
            }
        }
        throw AppError(err::kItemNotFound,
                       QStringLiteral("Item cannot be found in the collection corresponding to "
                                      "the requested name or ordinal."));
    }

    // The slot for a field of the row being added.
    std::optional<FieldValue>& newFieldValue(const char* name) {
        requireOpen();
        const int index = column(name);
        if (!adding) {
            throw AppError(err::kIllegalOperation,
                           QStringLiteral("Operation is not allowed in this context: field values "
                                          "can only be set on a row added with addNew."));
        }
        return newRow[static_cast<std::size_t>(index)];
    }

    void step() {
        if (held) {
            eof = ++heldRow >= held->size();
            return;
        }
        const int rc = sqlite3_step(statement.get());
        if (rc == SQLITE_ROW) {
            eof = false;
            return;
        }
        eof = true;
        if (rc != SQLITE_DONE) {
            store::raiseStepError(db(), rc);
        }
    }

    void rewind() {
        sqlite3_reset(statement.get());
        if (held) {
            readAll(SIZE_MAX);  // the recordset cannot change its statement now
            return;
        }
        step();
    }

    void readAll(std::size_t mostBytes) {
        held.emplace(statement.get(), mostBytes);
        heldRow = 0;
        eof = held->size() == 0;
    }
};

Recordset::Recordset() : state_(std::make_unique<State>()) {}

Recordset::~Recordset() {
    if (isOpen()) {
        close();
    }
}

void Recordset::open(const QString& source, Connection* connection, CursorType, LockType, int) {
    if (isOpen()) {
        throw storeerror::objectOpen();
    }
    requireOpenConnection(connection);
    adopt(connection, store::prepareReader(connection->handle(), source.toUtf8()));
}

void Recordset::openPatternQuery(const QString& typedText, Connection* connection, CursorType,
                                 LockType) {
    if (isOpen()) {
        throw storeerror::objectOpen();
    }
    requireOpenConnection(connection);
    const store::PatternQuery query(typedText);
    // The key is checked once the statement stands on its first row: the check then
    // speaks of the very rows being read. A stale key is repaired and the query run
    // again; should another program change names yet again meanwhile, a scan is exact.
    // So is it for a range of the key too large to hold while its rows are sorted.
    bool holdable = true;
    for (int attempt = 0;; ++attempt) {
        const bool throughKey =
            holdable && attempt < 2 && connection->nameKeyReady() && query.canUseNameKey();
        sqlite3* db = connection->handle();
        if (throughKey) {
            adopt(connection, query.prepareThroughNameKey(db), RowOrder::InIndexThenTable);
            if (state_->held->tooManyToHold()) {
                close();
                holdable = false;
                continue;
            }
        } else {
            adopt(connection, query.prepareScan(db));
        }
        if (!throughKey || connection->nameKeyCurrent()) {
            return;
        }
        close();
        connection->refreshNameKey();
    }
}

void Recordset::adopt(Connection* connection, store::StatementPtr statement, RowOrder order) {
    sqlite3_stmt* raw = statement.get();
    if (sqlite3_column_count(raw) == 0) {
        throw AppError(err::kMalformedStatement,
                       QStringLiteral("Only a statement that reads rows can be opened as a "
                                      "recordset."));
    }
    State opened;
    opened.connection = connection;
    opened.statement = std::move(statement);
    // Read in an index's order, the last column is the rowid, which is not the row's.
    const int count = sqlite3_column_count(raw) - (order == RowOrder::InIndexThenTable ? 1 : 0);
    for (int i = 0; i < count; ++i) {
        opened.columns.emplace_back(sqlite3_column_name(raw, i));
    }
    opened.table = tableOfColumns(raw);
    // Stands on the first row; raises (and finalizes) on failure.
    if (order == RowOrder::InIndexThenTable) {
        opened.readAll(kMostHeldBytes);
    } else {
        opened.step();
    }

    *state_ = std::move(opened);
    connection->attach(this);
}

void Recordset::close() {
    state_->requireOpen();
    state_->connection->detach(this);
    *state_ = State();
}

bool Recordset::isOpen() const {
    return state_->statement != nullptr;
}

bool Recordset::eof() const {
    state_->requireOpen();
    return state_->eof;
}

QString Recordset::field(const char* name) const {
    const QByteArrayView text = fieldUtf8(fieldIndex(name));
    return text.isNull() ? QString() : QString::fromUtf8(text);
}

int Recordset::fieldIndex(const char* name) const {
    state_->requireOpen();
    return state_->column(name);
}

QByteArrayView Recordset::fieldUtf8(int index) const {
    state_->requireOpen();
    if (state_->eof) {
        throw noCurrentRecord();
    }
    if (state_->held) {
        return state_->held->text(state_->heldRow, index);
    }
    // One call into the statement for the value, not one for its text and one for its size.
    sqlite3_value* value = sqlite3_column_value(state_->statement.get(), index);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    if (!text) {
        return {};
    }
    return {text, sqlite3_value_bytes(value)};
}

void Recordset::moveNext() {
    state_->requireOpen();
    if (state_->eof) {
        throw noCurrentRecord();
    }
    state_->step();
}

// Both re-run the statement: rows are read as they are stepped, never held, so the first
// row is reached again only by starting over. On an empty result both leave eof() true.
void Recordset::moveFirst() {
    state_->requireOpen();
    state_->rewind();
}

void Recordset::requery(int) {
    state_->requireOpen();
    state_->rewind();
}

void Recordset::addNew() {
    state_->requireOpen();
    if (state_->table.isEmpty()) {
        throw AppError(
            err::kNotUpdatable,
            QStringLiteral("Current Recordset does not support updating. This may be "
                           "a limitation of the provider, or of the selected locktype."));
    }
    if (state_->adding) {
        update();  // a row still being added is stored first, as the old engine did
    }
    state_->newRow.assign(state_->columns.size(), std::nullopt);
    state_->adding = true;
}

void Recordset::setField(const char* name, const QString& value) {
    state_->newFieldValue(name) = FieldValue(value);
}

void Recordset::setField(const char* name, qint64 value) {
    state_->newFieldValue(name) = FieldValue(value);
}

// Stores the added row in its own statement, so it is committed on its own. If storing
// fails, the row stays pending and nothing is lost.
void Recordset::update() {
    state_->requireOpen();
    if (!state_->adding) {
        return;
    }
    // A read left standing on a row holds the file as it was when the read began: the log
    // could never be written back into the file, and every row stored after it would
    // make the log grow. The read ends here; moveFirst or requery starts it again.
    sqlite3_reset(state_->statement.get());
    state_->eof = true;
    QByteArray names;
    QByteArray places;
    std::vector<const FieldValue*> values;
    int nameParameter = 0;
    std::optional<std::size_t> keyColumn;
    for (std::size_t i = 0; i < state_->columns.size(); ++i) {
        const QByteArray& column = state_->columns[i];
        if (qstricmp(column.constData(), "name_key") == 0) {
            keyColumn = i;
        }
        if (const auto& value = state_->newRow[i]) {
            names += (values.empty() ? "" : ", ") + quoted(column);
            places += values.empty() ? "?" : ", ?";
            values.push_back(&*value);
            if (qstricmp(column.constData(), "name") == 0) {
                nameParameter = static_cast<int>(values.size());
            }
        }
    }
    // A row of the index gets the key of its name as it is stored (see IndexSchema.h),
    // so that the connection's key triggers find nothing to do.
    if (keyColumn && !state_->newRow[*keyColumn] && nameParameter > 0) {
        names += ", " + quoted(state_->columns[*keyColumn]);
        places +=
            ", " + QByteArray(like::kFoldFunction) + "(?" + QByteArray::number(nameParameter) + ")";
    }
    const QByteArray sql = "INSERT INTO " + state_->table +
                           (values.empty() ? QByteArray(" DEFAULT VALUES")
                                           : " (" + names + ") VALUES (" + places + ")");
    sqlite3* db = state_->db();
    // Rows added one after another set the same fields: the statement is compiled once.
    if (sql != state_->insertSql) {
        state_->insert = store::prepareOne(db, sql);
        state_->insertSql = sql;
    }
    sqlite3_stmt* insert = state_->insert.get();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        if (const auto* text = std::get_if<QString>(values[i])) {
            const QByteArray utf8 = text->toUtf8();
            sqlite3_bind_text(insert, index, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(insert, index, std::get<qint64>(*values[i]));
        }
    }
    const int rc = sqlite3_step(insert);
    if (rc != SQLITE_DONE) {
        const AppError error = store::stepError(db, rc);
        sqlite3_reset(insert);
        throw error;
    }
    sqlite3_reset(insert);
    state_->adding = false;
    state_->newRow.clear();
}

}  // namespace kwiklet
