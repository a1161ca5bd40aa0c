#pragma once

namespace kwiklet {

class Recordset;
class ResultLists;

enum class FillOutcome { Complete, Superseded };

// Appends the name and path of every row from the recordset's current one on to the
// lists; with skipDuplicateNames, a name already in List1 adds nothing, so the first row
// of a name wins. Gives the message loop turns while it works; if the lists are cleared
// meanwhile (a newer query started), it stops and reports that it was superseded. The
// recordset is left open.
FillOutcome FillResultLists(Recordset& recordset, ResultLists& lists, bool skipDuplicateNames);

}  // namespace kwiklet
