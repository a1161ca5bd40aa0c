#pragma once

// The web search engines of web mode, in the order the result list shows them.

#include <QString>

#include <array>

namespace kwiklet {

struct SearchEngine {
    const char* caption;   // shown in the result list
    const char* home;      // the engine's home address, the path chosen with it
    const char* queryKey;  // the query parameter its search page takes the words in

    // The address the search words are appended to, exactly as typed.
    QString searchPrefix() const {
        return QString::fromLatin1(home) + QStringLiteral("/search?") +
               QString::fromLatin1(queryKey) + QLatin1Char('=');
    }
};

inline constexpr std::array<SearchEngine, 2> kSearchEngines{{
    {"Search with Google", "http://www.google.com", "q"},
    {"Search with Yahoo", "http://search.yahoo.com", "p"},
}};

// What the search box shows for the chosen engine until the user types.
inline QString enginePrompt(const QString& caption) {
    return QStringLiteral("Enter term to ") + caption;
}

}  // namespace kwiklet
