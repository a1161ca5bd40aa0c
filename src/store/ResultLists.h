#pragma once

// The main window's two parallel result lists: List1, the names the user sees, and
// List2, the full path behind each name. Everything that fills them goes through this
// object, so item i of List2 always belongs to item i of List1.

#include "store/CompactRows.h"

#include <QAbstractListModel>
#include <QString>

#include <cstdint>
#include <span>

namespace kwiklet {

class ResultLists : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ResultLists(QObject* parent = nullptr);

    // The model List1 shows.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Appends a name to List1 and its path to List2. Views see appended rows at the
    // next turn of the message loop, in one batch.
    void append(const QString& name, const QString& path);
    // Appends rows from UTF-8 text as the index stores it, without a string object per row;
    // with onlyNewNames, a name List1 holds already adds nothing, so the first row of a
    // name wins. A row without a name is left out. A few rows at once go in faster than
    // one by one.
    void appendUtf8(std::span<const store::CompactRows::Text> rows, bool onlyNewNames);
    // Clears both lists together.
    void clear();

    qsizetype count() const { return static_cast<qsizetype>(rows_.size()); }
    // The item at the position, or "" for a position the lists do not hold, as a list
    // control answers for an index outside its items.
    QString name(qsizetype index) const;
    QString path(qsizetype index) const;
    // True when List1 holds exactly this name (letter case counts).
    bool containsName(const QString& name) const;

    // Changes with every clear(): a fill that started before a clear has been
    // superseded and must stop appending.
    std::uint64_t generation() const { return generation_; }

    // Shows appended rows to the views now.
    void publishPendingRows();

    // While a fill runs, appended rows reach the views once, when it ends: a view
    // that took them at every yield would lay itself out again each time.
    class BatchedAppends {
    public:
        explicit BatchedAppends(ResultLists& lists) : lists_(&lists) { ++lists_->batches_; }
        ~BatchedAppends() {
            if (--lists_->batches_ == 0) {
                lists_->publishPendingRows();
            }
        }
        BatchedAppends(const BatchedAppends&) = delete;
        BatchedAppends& operator=(const BatchedAppends&) = delete;

    private:
        ResultLists* lists_;
    };

    // While a walk stages its results in the lists, it holds a reservation; event
    // handlers that would clear or refill the lists (typing, list clicks) leave them
    // alone meanwhile. Reservations nest.
    class Reservation {
    public:
        explicit Reservation(ResultLists& lists) : lists_(&lists) { ++lists_->reservations_; }
        ~Reservation() { --lists_->reservations_; }
        Reservation(const Reservation&) = delete;
        Reservation& operator=(const Reservation&) = delete;

    private:
        ResultLists* lists_;
    };
    bool isReserved() const { return reservations_ > 0; }

private:
    void appendRows(std::span<const store::CompactRows::Text> rows, bool onlyNewNames);
    bool holds(qsizetype index) const { return index >= 0 && index < count(); }

    store::CompactRows rows_;
    int publishedRows_ = 0;
    bool publishQueued_ = false;
    std::uint64_t generation_ = 0;
    int reservations_ = 0;
    int batches_ = 0;
};

}  // namespace kwiklet
