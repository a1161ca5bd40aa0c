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
        // The column text goes into the lists as it is: no string object per row.
        const QByteArrayView name = recordset.fieldUtf8("name");
        // A row without a name cannot be typed or chosen, so it is not listed.
        if (!name.isEmpty()) {
            lists.appendUtf8(name, recordset.fieldUtf8("path"), skipDuplicateNames);
        }
        recordset.moveNext();
    }
    return FillOutcome::Complete;
}

}  // namespace kwiklet
