// The index tool as a user runs it from a shell: what it answers, and which files it
// makes or leaves alone.

#include "support/Database.h"

#include <QDir>
#include <QProcess>

namespace kwiklet::test {
namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;  // standard output
    QString errors;  // standard error
};

ToolRun makeIndex(const QString& folder, const QStringList& arguments) {
    QProcess tool;
    tool.setWorkingDirectory(folder);
    tool.start(QStringLiteral(KWIKLET_MAKE_INDEX), arguments);
    EXPECT_TRUE(tool.waitForFinished(30000));
    return {tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardOutput()),
            QString::fromLocal8Bit(tool.readAllStandardError())};
}

TEST(MakeIndexTool, AnswersHelpRefusesOptionsItDoesNotKnowAndMakesOnlyWhatItIsAskedFor) {
    QTemporaryDir folder;
    const struct {
        QStringList arguments;
        int exitCode;
        QStringList created;  // every file in the folder afterwards
    } cases[] = {
        {{"--help"}, 0, {}},
        {{"-h", "avs.dat"}, 0, {}},
        {{"--bogus", "avs.dat"}, 2, {}},
        {{}, 2, {}},
        {{"one.dat", "two.dat"}, 2, {}},
        {{"--", "-odd.dat"}, 0, {"-odd.dat"}},
        {{"avs.dat"}, 0, {"-odd.dat", "avs.dat"}},
    };
    const auto madeSomething = [](const ToolRun& run) { return run.output.contains("Created"); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run = makeIndex(folder.path(), c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.errors.toStdString();
        // Whatever it does not do, it says how it is used instead.
        EXPECT_NE(madeSomething(run), (run.output + run.errors).contains("Usage:"));
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name), c.created);
    }

    // An existing index keeps its entries.
    {
        IndexStore index(folder.filePath("avs.dat"));
        index.open();
        addRows(index, {"kept"});
    }
    const QByteArray before = contentsOf(folder.filePath("avs.dat"));
    const ToolRun again = makeIndex(folder.path(), {"avs.dat"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.output.contains("left as it is"));
    EXPECT_EQ(contentsOf(folder.filePath("avs.dat")), before);
}

}  // namespace
}  // namespace kwiklet::test
