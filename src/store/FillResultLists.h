#pragma once

#include "store/ResultLists.h"

namespace kwiklet {

class Recordset;

enum class FillOutcome { Complete, Interrupted };

// Appends the name and path of every row from the recordset's current one on to the
// query's lists; with skipDuplicateNames, a name already in List1 adds nothing, so the
// first row of a name wins. Gives the message loop turns while it works. It stops,
// reporting that it was interrupted, when the query stops being current meanwhile: the
// lists were cleared for a newer query, or the recordset was closed because its
// connection was (the main window closing). The recordset is left as it is.
FillOutcome FillResultLists(Recordset& recordset, ResultLists::Query& query,
                            bool skipDuplicateNames);

}  // namespace kwiklet
