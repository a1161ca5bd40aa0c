#include "store/CompactRows.h"

#include <QHashFunctions>

#include <algorithm>
#include <cstring>

namespace kwiklet::store {
namespace {

// Large enough that a million rows take a few dozen allocations, small enough that a
// handful of rows leave no great unused tail.
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

std::uint32_t hashOf(QByteArrayView text) {
    return static_cast<std::uint32_t>(qHashBits(text.data(), static_cast<size_t>(text.size())));
}

}  // namespace

QByteArrayView CompactRows::name(std::size_t row) const {
    const Row& r = rows_[row];
    return {blocks_[r.block].get() + r.offset, static_cast<qsizetype>(r.nameSize)};
}

QByteArrayView CompactRows::path(std::size_t row) const {
    const Row& r = rows_[row];
    return {blocks_[r.block].get() + r.offset + r.nameSize, static_cast<qsizetype>(r.pathSize)};
}

bool CompactRows::append(QByteArrayView name, QByteArrayView path, bool onlyNewName) {
    if (slots_.empty()) {
        growSlots();
    }
    const std::uint32_t hash = hashOf(name);
    std::size_t slot = slotFor(name, hash);
    const bool listed = slots_[slot].row != 0;
    if (listed && onlyNewName) {
        return false;
    }
    Row row{};
    row.nameSize = static_cast<std::uint32_t>(name.size());
    row.pathSize = static_cast<std::uint32_t>(path.size());
    char* text = reserve(static_cast<std::size_t>(name.size() + path.size()), row);
    // An empty view may have no data at all, which memcpy must not be given.
    if (!name.isEmpty()) {
        std::memcpy(text, name.data(), static_cast<std::size_t>(name.size()));
    }
    if (!path.isEmpty()) {
        std::memcpy(text + name.size(), path.data(), static_cast<std::size_t>(path.size()));
    }
    rows_.push_back(row);
    if (listed) {
        return true;  // the index keeps the first row of a name
    }
    // At most three slots in four are taken, so that a probe soon meets a free one.
    if ((names_ + 1) * 4 > slots_.size() * 3) {
        growSlots();
        slot = slotFor(name, hash);
    }
    slots_[slot] = {hash, static_cast<std::uint32_t>(rows_.size())};
    ++names_;
    return true;
}

bool CompactRows::containsName(QByteArrayView name) const {
    return !slots_.empty() && slots_[slotFor(name, hashOf(name))].row != 0;
}

void CompactRows::clear() {
    // Swapping with empty ones gives the memory back, where clear() would keep it.
    std::vector<Row>().swap(rows_);
    std::vector<std::unique_ptr<char[]>>().swap(blocks_);
    std::vector<Slot>().swap(slots_);
    lastBlockUsed_ = 0;
    lastBlockSize_ = 0;
    names_ = 0;
}

char* CompactRows::reserve(std::size_t bytes, Row& row) {
    if (blocks_.empty() || lastBlockSize_ - lastBlockUsed_ < bytes) {
        lastBlockSize_ = std::max(bytes, kBlockBytes);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(lastBlockSize_));
        lastBlockUsed_ = 0;
    }
    row.block = static_cast<std::uint32_t>(blocks_.size() - 1);
    row.offset = static_cast<std::uint32_t>(lastBlockUsed_);
    lastBlockUsed_ += bytes;
    return blocks_.back().get() + row.offset;
}

std::size_t CompactRows::slotFor(QByteArrayView name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot& s = slots_[slot];
        if (s.row == 0 || (s.hash == hash && this->name(s.row - 1) == name)) {
            return slot;
        }
    }
}

void CompactRows::growSlots() {
    std::vector<Slot> old(std::max<std::size_t>(slots_.size() * 2, 64));
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
        if (s.row != 0) {
            std::size_t slot = s.hash & mask;
            while (slots_[slot].row != 0) {
                slot = (slot + 1) & mask;
            }
            slots_[slot] = s;
        }
    }
}

}  // namespace kwiklet::store
