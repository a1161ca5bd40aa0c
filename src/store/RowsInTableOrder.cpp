#include "store/RowsInTableOrder.h"

#include "store/Statement.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>

namespace kwiklet::store {
namespace {

void appendRaw(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}

template <typename T>
T readRaw(const char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

RowsInTableOrder::RowsInTableOrder(sqlite3_stmt* statement, std::size_t mostBytes)
    : columns_(sqlite3_column_count(statement) - 1), numbers_(static_cast<std::size_t>(columns_)) {
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (fields_.size() + rows_.size() * sizeof(Row) > mostBytes) {
            tooMany_ = true;
            rows_ = {};
            fields_ = {};
            break;
        }
        rows_.push_back({sqlite3_column_int64(statement, columns_), fields_.size()});
        for (int column = 0; column < columns_; ++column) {
            // One call for the value instead of one for each of its type, text and size.
            sqlite3_value* value = sqlite3_column_value(statement, column);
            if (sqlite3_value_type(value) == SQLITE_INTEGER) {
                const std::int64_t number = sqlite3_value_int64(value);
                appendRaw(fields_, &kWholeNumber, sizeof kWholeNumber);
                appendRaw(fields_, &number, sizeof number);
                continue;
            }
            const unsigned char* text = sqlite3_value_text(value);
            const std::int32_t size = text ? sqlite3_value_bytes(value) : kNull;
            appendRaw(fields_, &size, sizeof size);
            if (text) {
                appendRaw(fields_, text, static_cast<std::size_t>(size));
            }
        }
    }
    if (rc != SQLITE_DONE && !tooMany_) {
        raiseStepError(sqlite3_db_handle(statement), rc);
    }
    sqlite3_reset(statement);  // ends the read, as a recordset read to its end does
    sortByRowid();
}

QByteArrayView RowsInTableOrder::text(std::size_t row, int column) const {
    // The rows are read in table order but lie in key order: fetching a few ahead keeps
    // the reader from waiting on memory for each.
    constexpr std::size_t kAhead = 8;
    if (row + kAhead < rows_.size()) {
        __builtin_prefetch(fields_.data() + rows_[row + kAhead].offset);
    }
    const char* field = fields_.data() + rows_[row].offset;
    for (int skipped = 0;; ++skipped) {
        const auto size = readRaw<std::int32_t>(field);
        field += sizeof size;
        if (skipped < column) {
            field += size == kWholeNumber ? sizeof(std::int64_t)
                                          : static_cast<std::size_t>(std::max(size, 0));
            continue;
        }
        if (size == kNull) {
            return {};
        }
        if (size == kWholeNumber) {
            std::string& number = numbers_[static_cast<std::size_t>(column)];
            number = std::to_string(readRaw<std::int64_t>(field));
            return {number.data(), static_cast<qsizetype>(number.size())};
        }
        return {field, size};
    }
}

// Eleven bits of the rowid at a time, from the lowest, each pass keeping the order of the
// one before; a digit every rowid shares (the high ones, mostly) takes no pass.
void RowsInTableOrder::sortByRowid() {
    constexpr int kBits = 11;
    const auto digit = [](const Row& row, int shift) {
        // The sign bit flipped, so that negative rowids come first.
        const auto key = static_cast<std::uint64_t>(row.rowid) ^ (std::uint64_t{1} << 63);
        return static_cast<std::size_t>((key >> shift) & ((1U << kBits) - 1));
    };
    std::vector<Row> sorted(rows_.size());
    for (int shift = 0; shift < 64 && !rows_.empty(); shift += kBits) {
        std::array<std::size_t, std::size_t{1} << kBits> starts{};
        for (const Row& row : rows_) {
            ++starts[digit(row, shift)];
        }
        if (starts[digit(rows_.front(), shift)] == rows_.size()) {
            continue;
        }
        std::size_t next = 0;
        for (std::size_t& start : starts) {
            next += std::exchange(start, next);
        }
        for (const Row& row : rows_) {
            sorted[starts[digit(row, shift)]++] = row;
        }
        rows_.swap(sorted);
    }
}

}  // namespace kwiklet::store
