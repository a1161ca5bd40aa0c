#pragma once

// The main window's two parallel result lists: List1, the names the user sees, and
// List2, the full path behind each name. Everything that fills them goes through this
// object, so item i of List2 always belongs to item i of List1.

#include <QAbstractListModel>
#include <QSet>
#include <QStringList>

#include <cstdint>
#include <vector>

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
    // Clears both lists together.
    void clear();

    qsizetype count() const { return static_cast<qsizetype>(names_.size()); }
    // The item at the position, or "" for a position the lists do not hold, as a list
    // control answers for an index outside its items.
    QString name(qsizetype index) const { return itemAt(names_, index); }
    QString path(qsizetype index) const { return itemAt(paths_, index); }
    // True when List1 holds exactly this name (letter case counts).
    bool containsName(const QString& name) const { return nameIndex_.contains(name); }

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
    static QString itemAt(const std::vector<QString>& items, qsizetype index) {
        return index >= 0 && index < static_cast<qsizetype>(items.size())
                   ? items[static_cast<std::size_t>(index)]
                   : QString();
    }

    std::vector<QString> names_;
    std::vector<QString> paths_;
    QSet<QString> nameIndex_;  // every name in List1, for the duplicate check
    int publishedRows_ = 0;
    bool publishQueued_ = false;
    std::uint64_t generation_ = 0;
    int reservations_ = 0;
    int batches_ = 0;
};

// True when some item of List1 equals the name exactly.
bool IsNameListed(const QString& name, const ResultLists& lists);

}  // namespace kwiklet
