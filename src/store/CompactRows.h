#pragma once

// The rows of the result lists, held compactly: each row's name and path as UTF-8, back
// to back in large blocks, and an index of the distinct names for the duplicate check. A
// million rows take tens of megabytes, where a string object per item took hundreds, and
// filling them converts nothing.

#include <QByteArrayView>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace kwiklet::store {

class CompactRows {
public:
    std::size_t size() const { return rowCount_; }
    // A row's text; valid until the rows change.
    QByteArrayView name(std::size_t row) const;
    QByteArrayView path(std::size_t row) const;

    struct Text {
        QByteArrayView name;
        QByteArrayView path;
    };
    // Appends the rows in order; with onlyNewNames, a name some row holds already (byte
    // for byte), an earlier one of these included, adds nothing. The name index is looked
    // up for several rows at once, so that its memory is fetched in parallel, not row by
    // row. Returns how many were added.
    std::size_t append(std::span<const Text> rows, bool onlyNewNames);
    bool containsName(QByteArrayView name) const;
    void clear();

private:
    struct Row {
        std::uint32_t block;
        std::uint32_t offset;  // of the name; the path follows it
        std::uint32_t nameSize;
        std::uint32_t pathSize;
    };
    struct Slot {
        std::uint32_t hash;
        std::uint32_t row;  // plus one; zero marks a free slot
    };

    // Rows' entries come in chunks of this many, so that growing never moves them.
    static constexpr std::size_t kRowsPerChunk = 4096;

    const Row& rowAt(std::size_t row) const {
        return rowChunks_[row / kRowsPerChunk][row % kRowsPerChunk];
    }
    char* reserve(std::size_t bytes, Row& row);
    // The slot holding the name, or the free slot where it would go.
    std::size_t slotFor(QByteArrayView name, std::uint32_t hash) const;
    // Makes room in the index for more names, so that it does not move while they go in.
    void reserveSlots(std::size_t moreNames);
    bool appendHashed(Text row, std::uint32_t hash, bool onlyNewName);

    std::vector<std::unique_ptr<Row[]>> rowChunks_;
    std::size_t rowCount_ = 0;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t lastBlockUsed_ = 0;
    std::size_t lastBlockSize_ = 0;
    std::vector<Slot> slots_;  // open addressing, a power of two in size
    std::size_t names_ = 0;    // distinct names in the slots
};

}  // namespace kwiklet::store
