#pragma once

// The `like` operator of the index store, as the old data engine applied it to the
// pattern statement:
//
//   %      any run of characters, the empty run included
//   _      any one character (a code point, not a byte)
//   [abc]  one character of the set; [a-c] is a range, [!a-c] negates the set
//   other  that character itself, compared without regard to letter case
//
// Letter case and the reading of text follow the shared wildcard core (see
// platform/Wildcards.h): é matches É. A character belongs to a range when it lies between
// the range's ends as written or when its folded form lies between the folded ends.
// Inside a set, '[' is an ordinary member ("[[]" matches a literal '['), and a '-' at
// either end of the set is a member too. A '[' with no closing ']' after it stands for
// itself: "a[b" matches names beginning with "a[b". An empty set "[]" matches no
// character, "[!]" any one character; a range with its ends reversed holds nothing. A
// NULL on either side gives NULL, which is no match.
//
// The same folding produces the name key column (see IndexSchema.h), which lets a pattern
// with a literal beginning be answered through an index.

#include "platform/Wildcards.h"

#include <optional>
#include <string_view>

struct sqlite3;

namespace kwiklet::like {

// The pattern, read by the rule above. escape, when given, makes the character after it
// literal (the ESCAPE clause); an escape at the very end stands for itself.
wildcards::Pattern parse(std::string_view utf8, std::optional<char32_t> escape = std::nullopt);

// Whether text matches pattern under the rule above.
bool matches(std::string_view pattern, std::string_view text);

// Installs like(pattern, text), like(pattern, text, escape) and kwiklet_fold(text) on a
// connection. Returns false when SQLite refuses one of them.
bool registerFunctions(sqlite3* db);

// The SQL name of the folding function that fills the name key.
inline constexpr const char* kFoldFunction = "kwiklet_fold";

}  // namespace kwiklet::like
