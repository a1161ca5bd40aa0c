#include "store/IndexRows.h"

#include "store/StoreErrors.h"

#include <sqlite3.h>

#include <algorithm>

namespace kwiklet {
IndexRows::IndexRows(std::vector<IndexRows*>& openRows, store::StatementPtr statement)
    : statement_(std::move(statement)),
      nameColumn_(store::columnNamed(statement_.get(), "name")),
      pathColumn_(store::columnNamed(statement_.get(), "path")) {
    step();  // raises (and finalizes the statement) before registering on failure
    registerWith(openRows);
}

IndexRows::IndexRows(std::vector<IndexRows*>& openRows, store::StatementPtr statement,
                     std::size_t mostBytes)
    : statement_(std::move(statement)),
      nameColumn_(store::columnNamed(statement_.get(), "name")),
      pathColumn_(store::columnNamed(statement_.get(), "path")) {
    held_.emplace(statement_.get(), mostBytes);
    atEnd_ = held_->size() == 0;
    registerWith(openRows);
}

void IndexRows::registerWith(std::vector<IndexRows*>& openRows) {
    openRows_ = &openRows;
    openRows_->push_back(this);
}

IndexRows::IndexRows(IndexRows&& other) noexcept {
    *this = std::move(other);
}

IndexRows& IndexRows::operator=(IndexRows&& other) noexcept {
    if (this == &other) {
        return *this;
    }
    leaveOpenRows();
    statement_ = std::move(other.statement_);
    held_ = std::move(other.held_);
    heldRow_ = other.heldRow_;
    atEnd_ = other.atEnd_;
    nameColumn_ = other.nameColumn_;
    pathColumn_ = other.pathColumn_;
    openRows_ = std::exchange(other.openRows_, nullptr);
    if (openRows_) {
        std::replace(openRows_->begin(), openRows_->end(), &other, this);
    }
    return *this;
}

IndexRows::~IndexRows() {
    leaveOpenRows();
}

void IndexRows::leaveOpenRows() {
    if (openRows_) {
        std::erase(*openRows_, this);
        openRows_ = nullptr;
    }
    statement_.reset();
    held_.reset();
}

void IndexRows::requireOpen() const {
    if (!statement_) {
        throw storeerror::objectClosed();
    }
}

bool IndexRows::atEnd() const {
    requireOpen();
    return atEnd_;
}

QByteArrayView IndexRows::field(int column) const {
    requireOpen();
    if (atEnd_) {
        throw storeerror::noCurrentRecord();
    }
    if (column < 0) {
        throw storeerror::itemNotFound();
    }
    if (held_) {
        return held_->text(heldRow_, column);
    }
    // One call into the statement for the value, not one for its text and one for its size.
    sqlite3_value* value = sqlite3_column_value(statement_.get(), column);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    if (!text) {
        return {};
    }
    return {text, sqlite3_value_bytes(value)};
}

void IndexRows::next() {
    requireOpen();
    if (atEnd_) {
        throw storeerror::noCurrentRecord();
    }
    step();
}

void IndexRows::step() {
    if (held_) {
        atEnd_ = ++heldRow_ >= held_->size();
        return;
    }
    const int rc = sqlite3_step(statement_.get());
    atEnd_ = rc != SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        store::raiseStepError(sqlite3_db_handle(statement_.get()), rc);
    }
}

void IndexRows::close() {
    requireOpen();
    leaveOpenRows();
}

}  // namespace kwiklet
