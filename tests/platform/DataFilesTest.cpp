// The Linux platform's data files in real temporary folders: copying a file only where
// none is, whole or not at all, which folders may be written, and a relative XDG_DATA_HOME.

#include "platform/posix/PosixPlatform.h"
#include "support/Database.h"
#include "support/QtPrinters.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>

namespace kwiklet {
namespace {

class DataFilesTest : public ::testing::Test {
protected:
    QString scratch(const QString& name) const { return env_.scratchFolder() + '/' + name; }

    test::TestPlatform env_;
    PosixPlatform linux_;
};

TEST_F(DataFilesTest, CopiesOnlyWhereNoFileIsAndLeavesNothingHalfDone) {
    const QByteArray template_(200 * 1024, 'x');  // more than one buffer's worth
    test::writeFile(scratch("template"), template_);
    test::writeFile(scratch("taken"), "the user's");
    test::writeFile(scratch("a file"), "");
    const struct {
        const char* source;
        QString target;
        int error;
        QByteArray targetAfterwards;
    } cases[] = {
        {"template", "new/folders/avs.dat", 0, template_},
        {"template", "taken", EEXIST, "the user's"},
        {"missing", "from-nothing", ENOENT, "<unreadable>"},
        {"template", "a file/avs.dat", ENOTDIR, "<unreadable>"},
        // The folder's own failure, whatever it is, not a guess at one.
        {"template", QString(300, 'n') + "/avs.dat", ENAMETOOLONG, "<unreadable>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        EXPECT_EQ(linux_.copyFileIfAbsent(scratch(c.source), scratch(c.target)), c.error);
        EXPECT_EQ(test::contentsOf(scratch(c.target)), c.targetAfterwards);
        const QFileInfo target(scratch(c.target));
        EXPECT_TRUE(target.absoluteDir().entryList({"*.??????"}, QDir::Files).isEmpty())
            << "a temporary file was left behind";
    }
    // The user's index lists their files: only they may read it.
    const QFile::Permissions permissions = QFileInfo(scratch("new/folders/avs.dat")).permissions();
    EXPECT_TRUE(permissions.testFlags(QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_FALSE(permissions & (QFile::ReadGroup | QFile::ReadOther));
}

TEST_F(DataFilesTest, WritableFoldersAndTheUsersDataFolder) {
    test::writeFile(scratch("file"), "");
    EXPECT_TRUE(linux_.isFolderWritable(env_.scratchFolder()));
    EXPECT_FALSE(linux_.isFolderWritable(scratch("file")));
    EXPECT_FALSE(linux_.isFolderWritable(scratch("missing")));

    // A relative value is to be ignored, as the XDG rules say.
    env_.environment().set("XDG_DATA_HOME", "relative");
    EXPECT_EQ(linux_.userDataFolder("kwiklet"), env_.homeFolder() + "/.local/share/kwiklet");
}

}  // namespace
}  // namespace kwiklet
