#pragma once

#include "store/Connection.h"

#include <QString>

#include <memory>

namespace kwiklet {

// The one connection every statement of the program runs on, opened at start-up and
// kept for the life of the process.
struct IndexDatabase {
    // Unset for good when avs.dat was missing at start-up.
    std::unique_ptr<Connection> IndexDb;
    // avs.dat beside the executable; a closed connection is reopened on it.
    QString databasePath;
};

}  // namespace kwiklet
