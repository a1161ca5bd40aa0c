#include "store/FillResultList.h"

#include "common/MessageLoop.h"
#include "store/IndexRows.h"
#include "store/ResultList.h"

#include <array>
#include <string>
#include <utility>

namespace kwiklet {
namespace {

// Rows read wait here, copied (a field's text lasts only until the rows move on),
// and go into the lists a few at a time: the lists look their names up together, which
// over a large index is much faster than one row at a time.
class PendingRows {
public:
    static constexpr std::size_t kMost = 32;

    PendingRows(ResultList& lists, bool onlyNewNames)
        : lists_(lists), onlyNewNames_(onlyNewNames) {}

    void add(QByteArrayView name, QByteArrayView path) {
        text_.append(name.data(), static_cast<std::size_t>(name.size()));
        text_.append(path.data(), static_cast<std::size_t>(path.size()));
        sizes_[count_++] = {name.size(), path.size()};
    }

    void flush() {
        std::array<store::CompactRows::Text, kMost> rows;
        const QByteArrayView text(text_.data(), static_cast<qsizetype>(text_.size()));
        qsizetype offset = 0;
        for (std::size_t i = 0; i < count_; ++i) {
            const auto [nameSize, pathSize] = sizes_[i];
            rows[i] = {text.sliced(offset, nameSize), text.sliced(offset + nameSize, pathSize)};
            offset += nameSize + pathSize;
        }
        lists_.appendUtf8(std::span(rows.data(), count_), onlyNewNames_);
        text_.clear();  // keeps the capacity for the next rows
        count_ = 0;
    }

private:
    ResultList& lists_;
    const bool onlyNewNames_;
    std::string text_;
    std::array<std::pair<qsizetype, qsizetype>, kMost> sizes_{};
    std::size_t count_ = 0;
};

}  // namespace

FillOutcome fillResultList(IndexRows& rows, ResultList::Query& query, bool skipDuplicateNames) {
    ResultList& lists = query.results();
    const ResultList::BatchedAppends batch(lists);
    query.fillFrom(rows);
    PendingRows pending(lists, skipDuplicateNames);
    // The message loop gets its turns between batches, so whatever runs then finds every
    // row read so far in the lists.
    while (!rows.atEnd()) {
        messageloop::yieldIfDue();
        if (!query.isCurrent()) {
            return FillOutcome::Interrupted;
        }
        try {
            for (std::size_t i = 0; i < PendingRows::kMost && !rows.atEnd(); ++i) {
                pending.add(rows.nameUtf8(), rows.pathUtf8());
                rows.next();
            }
        } catch (...) {
            pending.flush();  // a row that cannot be read ends the fill after the ones before
            throw;
        }
        pending.flush();
    }
    return FillOutcome::Complete;
}

}  // namespace kwiklet
