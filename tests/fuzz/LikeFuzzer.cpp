// The store's like operator against a plain reading of its rule (ReferenceLike.h). The
// first byte says how many of the following bytes are the pattern; the rest is the name.
// A match must also begin, folded, with the pattern's folded literal beginning: the
// search box finds names through that key range and would miss one that did not.

#include "fuzz/ReferenceLike.h"
#include "store/Like.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what, std::string_view pattern, std::string_view text) {
    std::fprintf(stderr, "%s\npattern (%zu bytes): %.*s\ntext (%zu bytes): %.*s\n", what,
                 pattern.size(), static_cast<int>(pattern.size()), pattern.data(), text.size(),
                 static_cast<int>(text.size()), text.data());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t patternSize = std::min<std::size_t>(data[0], size - 1);
    const std::string_view pattern(reinterpret_cast<const char*>(data + 1), patternSize);
    const std::string_view text(reinterpret_cast<const char*>(data + 1 + patternSize),
                                size - 1 - patternSize);

    const bool matched = kwiklet::like::matches(pattern, text);
    if (matched != kwiklet::reference::matches(pattern, text)) {
        fail(matched ? "like matches, the reference does not"
                     : "the reference matches, like does not",
             pattern, text);
    }
    if (matched) {
        const QByteArray key = kwiklet::wildcards::foldText(text);
        if (!key.startsWith(kwiklet::like::parse(pattern).foldedLiteralPrefix())) {
            fail("a match lies outside its key range", pattern, text);
        }
    }
    return 0;
}
