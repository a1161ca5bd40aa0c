#pragma once

#include "store/IndexStore.h"
#include "store/StoreErrors.h"

#include <memory>

namespace kwiklet {

// The one index store the program works on, opened at start-up and kept for the life of
// the process.
struct IndexHolder {
    // Unset for good when avs.dat was missing at start-up. A closed store is opened again
    // at the path it keeps.
    std::unique_ptr<IndexStore> store;

    // The store, for work on it: without one there is no usable connection.
    IndexStore& required() const {
        if (!store) {
            throw storeerror::invalidConnection();
        }
        return *store;
    }
};

// Closes the index store if it is open. Every way the program ends goes through here, so
// that the index is left whole and its log small.
inline void closeIndex(IndexHolder& database) {
    if (database.store && database.store->isOpen()) {
        database.store->close();
    }
}

}  // namespace kwiklet
