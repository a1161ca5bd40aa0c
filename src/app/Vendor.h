#pragma once

// Where the program's makers can be reached: their web site and support address.

#include <QString>

namespace kwiklet::vendor {

inline const QString kWebHost = QStringLiteral("www.kwiklet.example");
inline const QString kSupportAddress = QStringLiteral("support@kwiklet.example");

inline QString downloadsPage() {
    return QStringLiteral("http://") + kWebHost + QStringLiteral("/downloads/kwiklet");
}

inline QString manualPage() {
    return QStringLiteral("http://") + kWebHost + QStringLiteral("/downloads/kwiklet/manual.php");
}

}  // namespace kwiklet::vendor
