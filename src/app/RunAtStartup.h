#pragma once

#include <QString>

namespace kwiklet {

// Adds or removes the entry that starts the program when the user logs on. Until that
// entry is written on this platform, the switch is kept in the settings only and
// nothing is added or removed.
void SetRunAtStartup(const QString& executableName, const QString& executableFolder, bool enable);

}  // namespace kwiklet
