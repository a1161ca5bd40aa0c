#pragma once

// Blanks in the search box: users type spaces, and only spaces count as empty space.

#include <QString>

#include <algorithm>

namespace kwiklet {

inline bool isBlank(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

// The text without the spaces at either end.
inline QString withoutOuterBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' ')) {
        ++start;
    }
    while (end > start && text[end - 1] == QLatin1Char(' ')) {
        --end;
    }
    return text.mid(start, end - start);
}

}  // namespace kwiklet
