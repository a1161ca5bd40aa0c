// The window system the program asks Qt for on its own command line: XWayland under a
// Wayland session that has it, and otherwise whatever the user or the session chose.

#include "platform/Platform.h"
#include "support/QtPrinters.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace kwiklet {
namespace {

TEST(WindowSystemTest, UnderWaylandWithXWaylandTheProgramAsksForX11OnItsOwnCommandLine) {
    const QString unset;
    const struct {
        QString wayland, display, chosen;  // WAYLAND_DISPLAY, DISPLAY, QT_QPA_PLATFORM
        std::vector<const char*> arguments;
        QList<QByteArray> added;
    } cases[] = {
        {"wayland-0", ":0", unset, {}, {"-platform", "xcb"}},
        {"wayland-0", ":0", unset, {"--toggle"}, {"-platform", "xcb"}},
        {"wayland-0", unset, unset, {}, {}},                       // no XWayland
        {"wayland-0", "", unset, {}, {}},                          // no XWayland
        {unset, ":0", unset, {}, {}},                              // X11 already
        {"wayland-0", ":0", "wayland", {}, {}},                    // the user's choice
        {"wayland-0", ":0", unset, {"-platform", "wayland"}, {}},  // the user's choice
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.wayland + " " + c.display + " " + c.chosen).toStdString());
        test::ScopedEnvironment environment;
        environment.set("WAYLAND_DISPLAY", c.wayland);
        environment.set("DISPLAY", c.display);
        environment.set("QT_QPA_PLATFORM", c.chosen);
        std::vector<char*> argv{const_cast<char*>("kwiklet")};
        for (const char* argument : c.arguments) {
            argv.push_back(const_cast<char*>(argument));
        }
        EXPECT_EQ(windowSystemArguments(static_cast<int>(argv.size()), argv.data()), c.added);
        // Never through the environment, which every program opened would inherit.
        EXPECT_EQ(qEnvironmentVariable("QT_QPA_PLATFORM"), c.chosen);
    }
}

}  // namespace
}  // namespace kwiklet
