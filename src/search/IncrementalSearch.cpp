#include "search/IncrementalSearch.h"

#include "common/ErrorTrap.h"
#include "store/FillResultLists.h"
#include "store/IndexDatabase.h"
#include "store/Recordset.h"
#include "store/ResultLists.h"

#include <QLineEdit>
#include <QListView>

#include <algorithm>

namespace kwiklet {
namespace {

// Only blanks count as empty space in the box, as users type them.
bool isBlank(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

}  // namespace

IncrementalSearch::IncrementalSearch(QLineEdit& text1, QLineEdit& text2, QListView& list1,
                                     ResultLists& lists, IndexDatabase& database,
                                     SearchState& state)
    : Text1(text1), Text2(text2), List1(list1), lists_(lists), database_(database), state_(state) {}

void IncrementalSearch::Text1_Change() {
    Recordset rs;
    QString typed;
    const HandlerStep steps[] = {
        [&] {
            if (!Text1.text().isEmpty() && !state_.AutoCompleteOn) {
                return StepResult::EndHandler;
            }
            // In web mode the box holds search words; while a walk stages its results
            // in the lists, they are not the search's to change.
            if (state_.WebMode || lists_.isReserved()) {
                return StepResult::EndHandler;
            }
            Text2.setText(QString());
            return StepResult::Continue;
        },
        [&] {
            rs.open(QStringLiteral("SELECT * FROM filez"), database_.IndexDb.get(),
                    CursorType::Dynamic, LockType::Optimistic, -1);
            return StepResult::Continue;
        },
        [&] {
            lists_.clear();
            if (isBlank(Text1.text())) {
                FillResultLists(rs, lists_, true);
                return StepResult::EndHandler;
            }
            return StepResult::Continue;
        },
        [&] {
            rs.close();
            return StepResult::Continue;
        },
        [&] {
            rs.open(QStringLiteral("SELECT * FROM filez where name like '") + Text1.text() +
                        QStringLiteral("%'"),
                    database_.IndexDb.get(), CursorType::Static, LockType::Optimistic, -1);
            return StepResult::Continue;
        },
        [&] {
            if (rs.eof()) {
                return StepResult::EndHandler;
            }
            // A key typed while the fill yielded started a newer search, which has
            // already filled the lists and completed the box.
            if (FillResultLists(rs, lists_, true) == FillOutcome::Superseded) {
                return StepResult::EndHandler;
            }
            rs.close();
            return StepResult::Continue;
        },
        [&] {
            state_.AutoCompleteOn = false;
            typed = Text1.text();
            Text1.setText(lists_.name(0));
            const auto start = static_cast<int>(typed.size());
            Text1.setSelection(start, static_cast<int>(Text1.text().size()) - start);
            Text2.setText(lists_.path(0));
            state_.AutoCompleteOn = true;
            return StepResult::Continue;
        },
    };

    runSteps(steps, [this](const AppError& error, int retries) {
        // A closed connection is opened again once, and the failed step tried again.
        if (error.number() != err::kInvalidConnection || retries > 0 || !database_.IndexDb ||
            database_.IndexDb->state() == ObjectState::Open) {
            return Recovery::ReportAndEnd;
        }
        // The connection keeps the connection string it was opened with at start-up.
        const bool reopened =
            !catchError([this] { database_.IndexDb->open(QString(), QString(), -1); });
        return reopened ? Recovery::RetryStep : Recovery::ReportAndEnd;
    });
}

void IncrementalSearch::Text1_GotFocus() {
    Text1.setSelection(0, static_cast<int>(Text1.text().size()));
}

void IncrementalSearch::List1_Click() {
    const QModelIndex current = List1.currentIndex();
    if (!current.isValid() || lists_.isReserved()) {
        return;
    }
    const int position = current.row();
    state_.AutoCompleteOn = false;
    if (!state_.WebMode) {
        Text1.setText(lists_.name(position));
        Text2.setText(lists_.path(position));
    } else {
        state_.EngineIndex = position;
        Text1.setText(QStringLiteral("Enter term to ") + lists_.name(position));
        Text1.setSelection(0, static_cast<int>(Text1.text().size()));
        Text1.setFocus();
        Text2.setText(lists_.path(position));
    }
    state_.AutoCompleteOn = true;
}

}  // namespace kwiklet
