#pragma once

// The main window's result list: the names the user sees, each with the full path behind
// it. Everything that fills it goes through this object, so a name and its path always
// stay together.

#include "store/CompactRows.h"

#include <QAbstractListModel>
#include <QString>

#include <cstdint>
#include <span>

namespace kwiklet {

class IndexRows;

class ResultList : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ResultList(QObject* parent = nullptr);

    // The model the result view shows.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Appends a name with its path. Views see appended rows at the
    // next turn of the message loop, in one batch.
    void append(const QString& name, const QString& path);
    // Appends rows from UTF-8 text as the index stores it, without a string object per row;
    // with onlyNewNames, a name the list holds already adds nothing, so the first row of a
    // name wins. A row without a name is left out. A few rows at once go in faster than
    // one by one.
    void appendUtf8(std::span<const store::CompactRows::Text> rows, bool onlyNewNames);
    // Clears both lists together; every query begun before stops being current.
    void clear();

    qsizetype count() const { return static_cast<qsizetype>(rows_.size()); }
    // The item at the position, or "" for a position the lists do not hold, as a list
    // control answers for an index outside its items.
    QString name(qsizetype index) const;
    QString path(qsizetype index) const;
    // True when the list holds exactly this name (letter case counts).
    bool containsName(const QString& name) const;

    // Shows appended rows to the views now.
    void publishPendingRows();

    // While a fill runs, appended rows reach the views once, when it ends: a view
    // that took them at every yield would lay itself out again each time.
    class BatchedAppends {
    public:
        explicit BatchedAppends(ResultList& lists) : lists_(&lists) { ++lists_->batches_; }
        ~BatchedAppends() {
            if (--lists_->batches_ == 0) {
                lists_->publishPendingRows();
            }
        }
        BatchedAppends(const BatchedAppends&) = delete;
        BatchedAppends& operator=(const BatchedAppends&) = delete;

    private:
        ResultList* lists_;
    };

    // What a fill or a walk holds while it works on the lists, giving the message loop
    // turns. Whatever runs in those turns may end it: a newer query clears the lists, or
    // the main window closing closes the rows it reads. Its holder then stops. While
    // a walk holds one, the lists are the walk's: no other query is current, so typing and
    // list clicks, which begin one, leave the lists alone.
    class Query {
    public:
        ~Query();
        Query(const Query&) = delete;
        Query& operator=(const Query&) = delete;

        bool isCurrent() const;
        // From now on the query fills the lists as they stand from the rows: clearing the
        // lists or closing the rows ends it.
        void fillFrom(const IndexRows& source);
        ResultList& results() const { return *lists_; }

    private:
        friend class ResultList;
        Query(ResultList& lists, bool walk);

        ResultList* lists_;
        std::uint64_t generation_;
        const IndexRows* source_ = nullptr;
        const bool walk_;
    };
    // A query of the lists as they stand: handlers begin one before they change them.
    [[nodiscard]] Query beginQuery() { return Query(*this, false); }
    // A walk's query, which holds the lists for the walk until it ends. Walks nest.
    [[nodiscard]] Query beginWalk() { return Query(*this, true); }

private:
    void appendRows(std::span<const store::CompactRows::Text> rows, bool onlyNewNames);
    bool holds(qsizetype index) const { return index >= 0 && index < count(); }

    store::CompactRows rows_;
    int publishedRows_ = 0;
    bool publishQueued_ = false;
    std::uint64_t generation_ = 0;
    int walks_ = 0;
    int batches_ = 0;
};

}  // namespace kwiklet
