#include "store/ResultList.h"

#include "store/IndexRows.h"

#include <QMetaObject>
#include <QStringDecoder>
#include <QUtf8StringView>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace kwiklet {
namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// Plain ASCII, which most names and paths are, is valid and holds no mark. Looking at
// eight bytes at a time costs a fraction of the full check, which runs twice a row.
bool isAscii(QByteArrayView text) {
    std::uint64_t seen = 0;
    qsizetype i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, text.data() + i, sizeof eight);
        seen |= eight;
    }
    for (; i < text.size(); ++i) {
        seen |= static_cast<unsigned char>(text[i]);
    }
    return (seen & 0x8080808080808080U) == 0;
}

// The rows hold each text in the one UTF-8 form that reads back as the string the text
// stands for, so that equal strings have equal bytes: the duplicate check compares
// bytes. Valid UTF-8 is that form already. Invalid sequences read as replacement
// characters, and a leading byte order mark reads as nothing, so those texts are stored
// as the string they read as.
std::optional<QByteArray> canonicalForm(QByteArrayView utf8) {
    if (isAscii(utf8) || (QUtf8StringView(utf8.data(), utf8.size()).isValidUtf8() &&
                          !utf8.startsWith(kByteOrderMark))) {
        return std::nullopt;
    }
    return QString::fromUtf8(utf8).toUtf8();
}

// Reads stored text back. A byte order mark left at the start is part of the string
// (only the first of several was taken away before storing), so it is kept.
QString decoded(QByteArrayView utf8) {
    if (!utf8.startsWith(kByteOrderMark)) {
        return QString::fromUtf8(utf8);
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                     QStringDecoder::Flag::Stateless);
    return decoder(utf8);
}

}  // namespace

ResultList::ResultList(QObject* parent) : QAbstractListModel(parent) {}

int ResultList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : publishedRows_;
}

// Only the rows a view asks for, the ones it paints, become strings.
QVariant ResultList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= publishedRows_ || role != Qt::DisplayRole) {
        return {};
    }
    return name(index.row());
}

QString ResultList::name(qsizetype index) const {
    return holds(index) ? decoded(rows_.name(static_cast<std::size_t>(index))) : QString();
}

QString ResultList::path(qsizetype index) const {
    return holds(index) ? decoded(rows_.path(static_cast<std::size_t>(index))) : QString();
}

bool ResultList::containsName(const QString& name) const {
    return rows_.containsName(name.toUtf8());
}

void ResultList::append(const QString& name, const QString& path) {
    const QByteArray nameUtf8 = name.toUtf8();
    const QByteArray pathUtf8 = path.toUtf8();
    const store::CompactRows::Text row{nameUtf8, pathUtf8};
    appendRows(std::span(&row, 1), false);
}

void ResultList::appendUtf8(std::span<const store::CompactRows::Text> rows, bool onlyNewNames) {
    // Texts not in their stored form yet are rare: only those are converted, and kept here
    // while the rows go in.
    std::vector<QByteArray> converted;
    std::vector<store::CompactRows::Text> canonical;
    canonical.reserve(rows.size());
    for (store::CompactRows::Text row : rows) {
        for (QByteArrayView* text : {&row.name, &row.path}) {
            if (std::optional<QByteArray> form = canonicalForm(*text)) {
                *text = converted.emplace_back(std::move(*form));
            }
        }
        // A row without a name cannot be typed or chosen, so it is not listed.
        if (!row.name.isEmpty()) {
            canonical.push_back(row);
        }
    }
    appendRows(canonical, onlyNewNames);
}

void ResultList::appendRows(std::span<const store::CompactRows::Text> rows, bool onlyNewNames) {
    // A view addresses rows with int; beyond that the lists stop growing rather than
    // let the view and the data disagree.
    const auto room = static_cast<std::size_t>(std::numeric_limits<int>::max()) - rows_.size();
    if (rows_.append(rows.first(std::min(rows.size(), room)), onlyNewNames) == 0) {
        return;
    }
    if (!publishQueued_) {
        publishQueued_ = true;
        QMetaObject::invokeMethod(this, &ResultList::publishPendingRows, Qt::QueuedConnection);
    }
}

void ResultList::clear() {
    ++generation_;
    beginResetModel();
    rows_.clear();
    publishedRows_ = 0;
    endResetModel();
}

ResultList::Query::Query(ResultList& lists, bool walk)
    : lists_(&lists), generation_(lists.generation_), walk_(walk) {
    lists_->walks_ += walk_ ? 1 : 0;
}

ResultList::Query::~Query() {
    lists_->walks_ -= walk_ ? 1 : 0;
}

bool ResultList::Query::isCurrent() const {
    return lists_->generation_ == generation_ && (source_ == nullptr || source_->isOpen()) &&
           (walk_ || lists_->walks_ == 0);
}

void ResultList::Query::fillFrom(const IndexRows& source) {
    generation_ = lists_->generation_;
    source_ = &source;
}

void ResultList::publishPendingRows() {
    publishQueued_ = false;
    if (batches_ > 0) {
        return;  // the batch publishes when it ends
    }
    const int total = static_cast<int>(rows_.size());
    if (total <= publishedRows_) {
        return;
    }
    beginInsertRows(QModelIndex(), publishedRows_, total - 1);
    publishedRows_ = total;
    endInsertRows();
}

}  // namespace kwiklet
