#include "store/ResultLists.h"

#include <QMetaObject>

#include <limits>

namespace kwiklet {

ResultLists::ResultLists(QObject* parent) : QAbstractListModel(parent) {}

int ResultLists::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : publishedRows_;
}

QVariant ResultLists::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= publishedRows_ || role != Qt::DisplayRole) {
        return {};
    }
    return names_[static_cast<std::size_t>(index.row())];
}

void ResultLists::append(const QString& name, const QString& path) {
    // A view addresses rows with int; beyond that the lists stop growing rather than
    // let the view and the data disagree.
    if (names_.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return;
    }
    nameIndex_.insert(name);
    names_.push_back(name);
    paths_.push_back(path);
    if (!publishQueued_) {
        publishQueued_ = true;
        QMetaObject::invokeMethod(this, &ResultLists::publishPendingRows, Qt::QueuedConnection);
    }
}

void ResultLists::clear() {
    ++generation_;
    beginResetModel();
    names_.clear();
    paths_.clear();
    nameIndex_.clear();
    publishedRows_ = 0;
    endResetModel();
}

void ResultLists::publishPendingRows() {
    publishQueued_ = false;
    if (batches_ > 0) {
        return;  // the batch publishes when it ends
    }
    const int total = static_cast<int>(names_.size());
    if (total <= publishedRows_) {
        return;
    }
    beginInsertRows(QModelIndex(), publishedRows_, total - 1);
    publishedRows_ = total;
    endInsertRows();
}

bool IsNameListed(const QString& name, const ResultLists& lists) {
    return lists.containsName(name);
}

}  // namespace kwiklet
