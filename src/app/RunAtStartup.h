#pragma once

#include <QString>

namespace kwiklet {

// Adds (enable) or removes the entry that starts the executable when the user logs on:
// on Linux an XDG autostart entry that starts it from its folder. Switching it on again
// rewrites the one entry; switching it off when there is none is no error. A failure is
// shown in a box ("Error N opening key", "Error N setting key" with the system's error
// number) and changes nothing else.
void SetRunAtStartup(const QString& executableName, const QString& executableFolder, bool enable);

}  // namespace kwiklet
