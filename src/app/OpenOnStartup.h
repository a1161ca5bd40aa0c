#pragma once

namespace kwiklet {

// Starts the executable with the user's desktop session (enable), or no longer. A failure
// is shown in a box ("Error N opening key" for the place the entries are kept, "Error N
// setting key" for the entry, with the system's error number) and changes nothing else.
void setOpenOnStartup(bool enable);

}  // namespace kwiklet
