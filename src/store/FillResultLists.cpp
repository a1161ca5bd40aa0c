#include "store/FillResultLists.h"

#include "common/MessageLoop.h"
#include "store/Recordset.h"
#include "store/ResultLists.h"

#include <array>
#include <utility>

namespace kwiklet {
namespace {

// Rows read wait here, copied (a column's text lasts only until the recordset moves on),
// and go into the lists a few at a time: the lists look their names up together, which
// over a large index is much faster than one row at a time.
class PendingRows {
public:
    PendingRows(ResultLists& lists, bool onlyNewNames)
        : lists_(lists), onlyNewNames_(onlyNewNames) {}

    void add(QByteArrayView name, QByteArrayView path) {
        text_.append(name);
        text_.append(path);
        sizes_[count_++] = {name.size(), path.size()};
        if (count_ == kRowsAtOnce) {
            flush();
        }
    }

    void flush() {
        std::array<store::CompactRows::Text, kRowsAtOnce> rows;
        qsizetype offset = 0;
        for (std::size_t i = 0; i < count_; ++i) {
            const auto [nameSize, pathSize] = sizes_[i];
            rows[i].name = QByteArrayView(text_).sliced(offset, nameSize);
            rows[i].path = QByteArrayView(text_).sliced(offset + nameSize, pathSize);
            offset += nameSize + pathSize;
        }
        lists_.appendUtf8(std::span(rows.data(), count_), onlyNewNames_);
        drop();
    }

    void drop() {
        text_.resize(0);  // keeps the capacity for the next rows
        count_ = 0;
    }

private:
    static constexpr std::size_t kRowsAtOnce = 32;

    ResultLists& lists_;
    const bool onlyNewNames_;
    QByteArray text_;
    std::array<std::pair<qsizetype, qsizetype>, kRowsAtOnce> sizes_{};
    std::size_t count_ = 0;
};

}  // namespace

FillOutcome FillResultLists(Recordset& recordset, ResultLists& lists, bool skipDuplicateNames) {
    const ResultLists::BatchedAppends batch(lists);
    const auto generation = lists.generation();
    PendingRows pending(lists, skipDuplicateNames);
    try {
        while (!recordset.eof()) {
            messageloop::yieldIfDue();
            if (lists.generation() != generation) {
                pending.drop();  // the lists were cleared for a newer query
                return FillOutcome::Interrupted;
            }
            if (!recordset.isOpen()) {
                pending.flush();  // the rows read before the close stay listed
                return FillOutcome::Interrupted;
            }
            pending.add(recordset.fieldUtf8("name"), recordset.fieldUtf8("path"));
            recordset.moveNext();
        }
    } catch (...) {
        pending.flush();  // a row that cannot be read ends the fill after the ones before it
        throw;
    }
    pending.flush();
    return FillOutcome::Complete;
}

}  // namespace kwiklet
