#pragma once

// The web search engines of web mode, in the order List1 shows them.

#include <QString>

#include <array>

namespace kwiklet {

struct SearchEngine {
    const char* caption;   // shown in List1
    const char* home;      // the engine's home address, kept in List2 and Text2
    const char* queryKey;  // the query parameter its search page takes the words in

    // The address the search words are appended to, exactly as typed.
    QString searchPrefix() const {
        return QString::fromLatin1(home) + QStringLiteral("/search?") +
               QString::fromLatin1(queryKey) + QLatin1Char('=');
    }
};

inline constexpr std::array<SearchEngine, 2> SearchEngineTable{{
    {"Search with Google", "http://www.google.com", "q"},
    {"Search with Yahoo", "http://search.yahoo.com", "p"},
}};

// What the search box shows for the chosen engine until the user types.
inline QString enginePrompt(const QString& caption) {
    return QStringLiteral("Enter term to ") + caption;
}

}  // namespace kwiklet
