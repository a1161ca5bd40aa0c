#include "store/FillResultLists.h"

#include "common/MessageLoop.h"
#include "store/Recordset.h"
#include "store/ResultLists.h"

namespace kwiklet {

FillOutcome FillResultLists(Recordset& recordset, ResultLists& lists, bool skipDuplicateNames) {
    const ResultLists::BatchedAppends batch(lists);
    const auto generation = lists.generation();
    while (!recordset.eof()) {
        messageloop::yieldIfDue();
        if (lists.generation() != generation || !recordset.isOpen()) {
            return FillOutcome::Interrupted;
        }
        const QString name = recordset.field("name");
        // A row without a name cannot be typed or chosen, so it is not listed.
        if (!name.isEmpty() && (!skipDuplicateNames || !IsNameListed(name, lists))) {
            lists.append(name, recordset.field("path"));
        }
        recordset.moveNext();
    }
    return FillOutcome::Complete;
}

}  // namespace kwiklet
