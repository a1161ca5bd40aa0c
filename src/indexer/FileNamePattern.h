#pragma once

// The file-name pattern a walk matches folder entries against: '*' stands for any run of characters
// (none included), '?' for exactly one character, and every other character for itself, letter case
// not counting. Built on the shared wildcard core (platform/Wildcards.h).

#include "platform/Wildcards.h"

#include <QStringView>

#include <string_view>

namespace kwiklet {

class FileNamePattern {
public:
    explicit FileNamePattern(QStringView pattern);

    // True for "*": every name matches, so no name needs to be looked at.
    bool matchesEverything() const { return pattern_.matchesEverything(); }
    // Whether the name, as UTF-8, matches.
    bool matches(std::string_view utf8Name) const { return pattern_.matches(utf8Name); }

private:
    wildcards::Pattern pattern_;
};

}  // namespace kwiklet
