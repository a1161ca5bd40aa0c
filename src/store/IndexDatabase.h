#pragma once

#include "store/Connection.h"

#include <memory>

namespace kwiklet {

// The one connection every statement of the program runs on, opened at start-up and
// kept for the life of the process.
struct IndexDatabase {
    // Unset for good when avs.dat was missing at start-up. A closed connection is
    // reopened with the connection string it keeps.
    std::unique_ptr<Connection> IndexDb;
};

// Closes the index connection if it is open. Every way the program ends goes through
// here, so that the index is left whole and its log small.
inline void CloseIndexDb(IndexDatabase& database) {
    if (database.IndexDb && database.IndexDb->state() == ObjectState::Open) {
        database.IndexDb->close();
    }
}

}  // namespace kwiklet
