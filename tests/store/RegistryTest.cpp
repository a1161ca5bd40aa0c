// Reading machine-wide registry values as text, from the recording platform's registry
// (Linux has none: there every read fails).

#include "store/Settings.h"
#include "support/QtPrinters.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

namespace kwiklet::test {
namespace {

TEST(ReadRegistryString, GivesTextValuesAndEmptyTextForWhatCannotBeRead) {
    TestPlatform platform;
    const QString key = "SOFTWARE\\Example";
    auto& registry = platform.recorder().registry;
    registry[{HKEY_LOCAL_MACHINE_KEY, key, "folder"}] = {1, QByteArray("C:\\Tools\\") + '\0'};
    registry[{HKEY_LOCAL_MACHINE_KEY, key, "bare"}] = {1, "no closing NUL"};
    registry[{HKEY_LOCAL_MACHINE_KEY, key, "number"}] = {4, QByteArray("\x2a\x01\x00\x00", 4)};
    registry[{HKEY_LOCAL_MACHINE_KEY, key, "binary"}] = {3, "\x01\x02"};
    registry[{HKEY_LOCAL_MACHINE_KEY, key, "long"}] = {1, QByteArray(1025, 'x')};
    registry[{HKEY_LOCAL_MACHINE_KEY, key, "longest"}] = {1, QByteArray(1024, 'y')};
    const struct {
        const char* value;
        bool read;
        QString result;
    } cases[] = {
        {"folder", true, "C:\\Tools\\"},
        {"bare", true, "no closing NUL"},
        {"number", true, "298"},
        {"binary", true, "as passed in"},  // other types leave the result alone
        {"long", false, ""},               // more than the 1,024-byte buffer holds
        {"longest", true, QString(1024, 'y')},
        {"missing", false, ""},
    };
    for (const auto& c : cases) {
        QString result = "as passed in";
        EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE_KEY, key, c.value, result), c.read)
            << c.value;
        EXPECT_EQ(result, c.result) << c.value;
    }
    QString result = "as passed in";
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER_KEY, key, "folder", result));
    EXPECT_EQ(result, "");
}

}  // namespace
}  // namespace kwiklet::test
