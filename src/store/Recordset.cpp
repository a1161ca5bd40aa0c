#include "store/Recordset.h"

#include "store/Connection.h"
#include "store/IndexSchema.h"
#include "store/Like.h"
#include "store/Statement.h"
#include "store/StoreErrors.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <optional>
#include <variant>
#include <vector>

namespace kwiklet {
namespace {

using FieldValue = std::variant<QString, qint64>;

// The search box's pattern statement, exactly as the program writes it.
const QRegularExpression kPatternStatement(
    QStringLiteral("^SELECT \\* FROM filez where name like '([^']*)'$"),
    QRegularExpression::CaseInsensitiveOption);

// A plain read of one whole table, the only kind of recordset rows can be added through.
const QRegularExpression kWholeTableRead(
    QStringLiteral(
        "^\\s*SELECT\\s+\\*\\s+FROM\\s+([A-Za-z_][A-Za-z0-9_]*)(\\s+where\\s.*)?;?\\s*$"),
    QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);

// The least text greater than every text that begins with prefix: its last code point
// raised by one. Empty when there is none (only U+10FFFF code points).
QByteArray upperBoundFor(const QByteArray& prefix) {
    QString text = QString::fromUtf8(prefix);
    QList<uint> codePoints = text.toUcs4();
    while (!codePoints.isEmpty()) {
        const uint last = codePoints.takeLast();
        if (last < 0x10FFFF) {
            codePoints.append(last + 1 == 0xD800 ? 0xE000 : last + 1);
            return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()),
                                     codePoints.size())
                .toUtf8();
        }
    }
    return {};
}

// The search box asks for names beginning with the typed text. The like operator is the
// program's own, so SQLite cannot use an index for it and would call it on every row.
// When the pattern begins with literal text, every match has a folded name in one range
// of the name key index: the statement then reads only the rows of that range, in table
// order as a full scan delivers them, and still applies the like to each, so the rows
// are exactly those of the statement as written. Looking the range up first and then
// fetching the rows by rowid, in order, spares a sort and keeps the reads sequential.
store::StatementPtr prepareNarrowed(sqlite3* db, const QString& source) {
    const auto match = kPatternStatement.match(source);
    if (!match.hasMatch()) {
        return {};
    }
    const QByteArray pattern = match.captured(1).toUtf8();
    const QByteArray prefix =
        like::Pattern(
            std::string_view(pattern.constData(), static_cast<std::size_t>(pattern.size())))
            .foldedLiteralPrefix();
    const QByteArray upper = upperBoundFor(prefix);
    if (prefix.isEmpty() || upper.isEmpty()) {
        return {};
    }
    const QByteArray sql =
        QByteArray("SELECT * FROM filez WHERE rowid IN (SELECT rowid FROM filez INDEXED BY ") +
        indexschema::kNameKeyIndex +
        " WHERE name_key >= ?1 AND name_key < ?2) AND name like ?3 ORDER BY rowid";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &raw, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(raw);
        return {};  // the statement runs as written and reports its own error, if any
    }
    store::StatementPtr statement(raw);
    const auto bind = [raw](int index, const QByteArray& text) {
        return sqlite3_bind_text(raw, index, text.constData(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    };
    if (!bind(1, prefix) || !bind(2, upper) || !bind(3, pattern)) {
        return {};
    }
    return statement;
}

// The first word of the statement, past blanks and comments.
QByteArray firstKeyword(const char* sql) {
    const char* p = sql;
    while (*p) {
        if (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f') {
            ++p;
        } else if (p[0] == '-' && p[1] == '-') {
            while (*p && *p != '\n') {
                ++p;
            }
        } else if (p[0] == '/' && p[1] == '*') {
            p += 2;
            while (*p && !(p[0] == '*' && p[1] == '/')) {
                ++p;
            }
            if (*p) {
                p += 2;
            }
        } else {
            break;
        }
    }
    const char* start = p;
    while ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z')) {
        ++p;
    }
    return QByteArray(start, static_cast<qsizetype>(p - start)).toUpper();
}

// Only statements that read rows may become recordsets: whatever reaches a recordset
// (the search box's text among it) can never change the database.
bool readsRowsOnly(sqlite3_stmt* statement) {
    const QByteArray keyword = firstKeyword(sqlite3_sql(statement));
    return sqlite3_stmt_readonly(statement) && sqlite3_column_count(statement) > 0 &&
           (keyword == "SELECT" || keyword == "WITH" || keyword == "VALUES");
}

AppError noCurrentRecord() {
    return AppError(err::kNoCurrentRecord,
                    QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                   "deleted. Requested operation requires a current record."));
}

QByteArray quoted(const QByteArray& identifier) {
    QByteArray result = identifier;
    result.replace('"', "\"\"");
    return '"' + result + '"';
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
        step();
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
    if (!connection || connection->state() != ObjectState::Open) {
        throw storeerror::invalidConnection();
    }
    sqlite3* db = connection->handle();
    store::StatementPtr statement;
    if (connection->nameKeyReady()) {
        statement = prepareNarrowed(db, source);
    }
    if (!statement) {
        statement = store::prepareOne(db, source.toUtf8());
    }
    if (!readsRowsOnly(statement.get())) {
        throw AppError(err::kMalformedStatement,
                       QStringLiteral("Only a statement that reads rows can be opened as a "
                                      "recordset; this one would change the database."));
    }

    State opened;
    opened.connection = connection;
    opened.statement = std::move(statement);
    const int count = sqlite3_column_count(opened.statement.get());
    for (int i = 0; i < count; ++i) {
        opened.columns.emplace_back(sqlite3_column_name(opened.statement.get(), i));
    }
    if (const auto match = kWholeTableRead.match(source); match.hasMatch()) {
        opened.table = match.captured(1).toUtf8();
    }
    opened.step();  // stands on the first row; raises (and closes) on failure

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
    state_->requireOpen();
    const int column = state_->column(name);
    if (state_->eof) {
        throw noCurrentRecord();
    }
    sqlite3_stmt* statement = state_->statement.get();
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (!text) {
        return QString();
    }
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
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

// Stores the added row in its own statement, so it is committed on its own. The reading
// position does not move. If storing fails, the row stays pending and nothing is lost.
void Recordset::update() {
    state_->requireOpen();
    if (!state_->adding) {
        return;
    }
    QByteArray names;
    QByteArray places;
    std::vector<const FieldValue*> values;
    for (std::size_t i = 0; i < state_->columns.size(); ++i) {
        if (const auto& value = state_->newRow[i]) {
            names += (values.empty() ? "" : ", ") + quoted(state_->columns[i]);
            places += values.empty() ? "?" : ", ?";
            values.push_back(&*value);
        }
    }
    const QByteArray sql = "INSERT INTO main." + quoted(state_->table) +
                           (values.empty() ? QByteArray(" DEFAULT VALUES")
                                           : " (" + names + ") VALUES (" + places + ")");
    sqlite3* db = state_->db();
    const store::StatementPtr insert = store::prepareOne(db, sql);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        if (const auto* text = std::get_if<QString>(values[i])) {
            const QByteArray utf8 = text->toUtf8();
            sqlite3_bind_text(insert.get(), index, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(insert.get(), index, std::get<qint64>(*values[i]));
        }
    }
    const int rc = sqlite3_step(insert.get());
    if (rc != SQLITE_DONE) {
        store::raiseStepError(db, rc);
    }
    state_->adding = false;
    state_->newRow.clear();
}

}  // namespace kwiklet
