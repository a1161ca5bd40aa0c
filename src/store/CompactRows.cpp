#include "store/CompactRows.h"

#include <QHashFunctions>

#include <algorithm>
#include <array>
#include <cstring>

namespace kwiklet::store {
namespace {

// Large enough that a million rows take a few dozen allocations, small enough that a
// handful of rows leave no great unused tail.
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

// Rows whose index slots are fetched together: enough for the fetches to overlap, few
// enough that the slots are still cached when the rows go in.
constexpr std::size_t kMostAtOnce = 16;

std::uint32_t hashOf(QByteArrayView text) {
    return static_cast<std::uint32_t>(qHashBits(text.data(), static_cast<size_t>(text.size())));
}

}  // namespace

QByteArrayView CompactRows::name(std::size_t row) const {
    const Row& r = rowAt(row);
    return {blocks_[r.block].get() + r.offset, static_cast<qsizetype>(r.nameSize)};
}

QByteArrayView CompactRows::path(std::size_t row) const {
    const Row& r = rowAt(row);
    return {blocks_[r.block].get() + r.offset + r.nameSize, static_cast<qsizetype>(r.pathSize)};
}

std::size_t CompactRows::append(std::span<const Text> rows, bool onlyNewNames) {
    reserveSlots(rows.size());
    const std::size_t mask = slots_.size() - 1;
    std::array<std::uint32_t, kMostAtOnce> hashes{};
    std::size_t added = 0;
    for (std::size_t first = 0; first < rows.size(); first += kMostAtOnce) {
        const std::size_t count = std::min(kMostAtOnce, rows.size() - first);
        for (std::size_t i = 0; i < count; ++i) {
            hashes[i] = hashOf(rows[first + i].name);
            __builtin_prefetch(&slots_[hashes[i] & mask]);
        }
        // A name met before is compared with the row that holds it: that row's entry,
        // then its text.
        for (std::size_t i = 0; i < count; ++i) {
            const Slot& home = slots_[hashes[i] & mask];
            if (home.row != 0 && home.hash == hashes[i]) {
                __builtin_prefetch(&rowAt(home.row - 1));
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            const Slot& home = slots_[hashes[i] & mask];
            if (home.row != 0 && home.hash == hashes[i]) {
                __builtin_prefetch(name(home.row - 1).data());
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            added += appendHashed(rows[first + i], hashes[i], onlyNewNames) ? 1 : 0;
        }
    }
    return added;
}

bool CompactRows::appendHashed(Text text, std::uint32_t hash, bool onlyNewName) {
    const std::size_t slot = slotFor(text.name, hash);
    const bool listed = slots_[slot].row != 0;
    if (listed && onlyNewName) {
        return false;
    }
    Row row{};
    row.nameSize = static_cast<std::uint32_t>(text.name.size());
    row.pathSize = static_cast<std::uint32_t>(text.path.size());
    char* stored = reserve(static_cast<std::size_t>(text.name.size() + text.path.size()), row);
    // An empty view may have no data at all, which memcpy must not be given.
    if (!text.name.isEmpty()) {
        std::memcpy(stored, text.name.data(), static_cast<std::size_t>(text.name.size()));
    }
    if (!text.path.isEmpty()) {
        std::memcpy(stored + text.name.size(), text.path.data(),
                    static_cast<std::size_t>(text.path.size()));
    }
    if (rowCount_ % kRowsPerChunk == 0) {
        rowChunks_.push_back(std::make_unique_for_overwrite<Row[]>(kRowsPerChunk));
    }
    rowChunks_.back()[rowCount_ % kRowsPerChunk] = row;
    ++rowCount_;
    if (!listed) {  // the index keeps the first row of a name
        slots_[slot] = {hash, static_cast<std::uint32_t>(rowCount_)};
        ++names_;
    }
    return true;
}

bool CompactRows::containsName(QByteArrayView name) const {
    return !slots_.empty() && slots_[slotFor(name, hashOf(name))].row != 0;
}

void CompactRows::clear() {
    // Swapping with empty ones gives the memory back, where clear() would keep it.
    std::vector<std::unique_ptr<Row[]>>().swap(rowChunks_);
    rowCount_ = 0;
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

// At most three slots in four are taken, so that a probe soon meets a free one.
void CompactRows::reserveSlots(std::size_t moreNames) {
    std::size_t size = std::max<std::size_t>(slots_.size(), 64);
    while ((names_ + moreNames) * 4 > size * 3) {
        size *= 2;
    }
    if (size == slots_.size()) {
        return;
    }
    std::vector<Slot> old(size);
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
