#pragma once

namespace kwiklet {

class picMain;

// Brings the result lists in line with the index behind the wait window. Until the
// folder walk feeds it, the index is listed as it stands: the table is neither emptied
// nor refilled.
void RebuildIndex(picMain& window);

}  // namespace kwiklet
