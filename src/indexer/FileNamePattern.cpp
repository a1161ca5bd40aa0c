#include "indexer/FileNamePattern.h"

#include <QList>

namespace kwiklet {

FileNamePattern::FileNamePattern(QStringView pattern) {
    for (const uint c : pattern.toUcs4()) {
        if (c == U'*') {
            pattern_.appendAnyRun();
        } else if (c == U'?') {
            pattern_.appendAnyOne();
        } else {
            pattern_.appendLiteral(c);
        }
    }
}

}  // namespace kwiklet
