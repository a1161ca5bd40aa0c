// Reading hotkey text: what is taken, in its canonical spelling, and what is refused
// with a message that names the fault.

#include "platform/KeyCombination.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace kwiklet {
namespace {

TEST(KeyCombinationTest, TextIsReadToItsCanonicalSpellingOrRefusedWithTheReason) {
    struct Case {
        const char* text;
        const char* canonical;  // empty: no combination
        const char* problem;
    };
    const Case cases[] = {
        {"Ctrl+Alt+Space", "Ctrl+Alt+Space", ""},
        {" super + shift + control + alt + space ", "Ctrl+Alt+Shift+Super+Space", ""},
        {"meta+k", "Super+K", ""},
        {"Alt+7", "Alt+7", ""},
        {"F1", "F1", ""},
        {"shift+f35", "Shift+F35", ""},
        {"Pause", "Pause", ""},
        {"Ctrl+Alt+pgup", "Ctrl+Alt+PageUp", ""},
        {"Ctrl+Esc", "Ctrl+Escape", ""},
        {"Ctrl+enter", "Ctrl+Return", ""},
        {"", "", ""},
        {"   ", "", ""},
        {"Ctrl+Alt", "", "\"Ctrl+Alt\" names no key after Alt"},
        {"Ctrl++K", "", "\"Ctrl++K\" has an empty part between its '+'"},
        {"Ctrl+Ctrl+K", "", "\"Ctrl\" is named twice"},
        {"Ctrl+Hyper+K", "", "\"Hyper\" is neither a modifier nor a key"},
        {"Ctrl+F36", "", "\"F36\" is neither a modifier nor a key"},
        {"Ctrl+F01", "", "\"F01\" is neither a modifier nor a key"},
        {"Alt+Ä", "", "\"Ä\" is neither a modifier nor a key"},
        {"Ctrl+K+L", "", "\"Ctrl+K+L\" names more than one key"},
        {"K", "", "K would be taken from typing: add Ctrl, Alt or Super"},
        {"Shift+space", "", "Shift+Space would be taken from typing: add Ctrl, Alt or Super"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ReadKeyCombination read = readKeyCombination(QString::fromUtf8(c.text));
        EXPECT_EQ(read.keys ? keyCombinationText(*read.keys) : QString(), c.canonical);
        EXPECT_EQ(read.problem, QString::fromUtf8(c.problem));
        if (read.keys) {
            EXPECT_EQ(readKeyCombination(keyCombinationText(*read.keys)).keys, read.keys);
        }
    }
}

}  // namespace
}  // namespace kwiklet
