#pragma once

#include "store/ResultList.h"

namespace kwiklet {

class IndexRows;

enum class FillOutcome { Complete, Interrupted };

// Appends the name and path of every entry from the rows' current one on to the query's
// lists; with skipDuplicateNames, a name already listed adds nothing, so the first
// entry of a name wins. Gives the message loop turns while it works. It stops, reporting
// that it was interrupted, when the query stops being current meanwhile: the lists were
// cleared for a newer query, or the rows were closed because the store was (the main
// window closing). The rows are left as they are.
FillOutcome fillResultList(IndexRows& rows, ResultList::Query& query, bool skipDuplicateNames);

}  // namespace kwiklet
