#pragma once

// Where the program's makers can be reached: their web site and support address; and
// the name the desktop knows the program by, made from the makers' domain.

#include <QString>

namespace kwiklet::vendor {

inline const QString kDomain = QStringLiteral("kwiklet.example");
inline const QString kWebHost = QStringLiteral("www.") + kDomain;
inline const QString kSupportAddress = QStringLiteral("support@") + kDomain;
// The desktop entry's ID (the installed data/<id>.desktop) and the running copy's bus
// name: the domain reversed, then the program.
inline const QString kApplicationId = QStringLiteral("example.kwiklet.Kwiklet");

inline QString downloadsPage() {
    return QStringLiteral("http://") + kWebHost + QStringLiteral("/downloads/kwiklet");
}

inline QString manualPage() {
    return QStringLiteral("http://") + kWebHost + QStringLiteral("/downloads/kwiklet/manual.php");
}

}  // namespace kwiklet::vendor
