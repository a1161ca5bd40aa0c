#pragma once

#include <QString>

namespace kwiklet {

// The program's version, as the About window and --version show it.
inline const QString kAppVersion = QStringLiteral("1.0");

}  // namespace kwiklet
