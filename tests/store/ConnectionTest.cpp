// Opening the index database, and creating an empty one.

#include "StoreTestHelpers.h"

#include "store/StoreErrors.h"

#include <QDir>
#include <QFile>

namespace kwiklet::test {
namespace {

QByteArray contentsOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& file, const QByteArray& contents) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contents);
}

TEST_F(StoreTest, OpenRefusesWhatIsNotAnIndexDatabaseAndLeavesItAlone) {
    writeFile(scratch(QStringLiteral("text.dat")), QByteArray("not a database\n").repeated(300));
    writeFile(scratch(QStringLiteral("empty.dat")), QByteArray());
    QDir(folder_.path()).mkdir(QStringLiteral("folder.dat"));
    const struct {
        const char* file;
        const char* descriptionStart;
    } cases[] = {
        {"missing.dat", "Could not find file '"},
        {"text.dat", "Unrecognized database format '"},
        {"empty.dat", "Unrecognized database format '"},
        {"folder.dat", "'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString file = scratch(QString::fromUtf8(c.file));
        const QByteArray before = contentsOf(file);
        Connection connection;
        connection.setConnectionString(connectionStringFor(file));
        try {
            connection.open();
            ADD_FAILURE() << "opened";
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), err::kStoreFailure);
            EXPECT_TRUE(error.description().startsWith(QString::fromUtf8(c.descriptionStart)));
            EXPECT_TRUE(error.description().contains(file)) << error.description().toStdString();
        }
        EXPECT_EQ(connection.state(), ObjectState::Closed);
        EXPECT_EQ(contentsOf(file), before);
    }
    EXPECT_FALSE(QFile::exists(scratch(QStringLiteral("missing.dat"))));  // never created
}

TEST_F(StoreTest, ConnectionStringNamesTheFileAndTheEngine) {
    EXPECT_EQ(errorNumberOf([&] { db_.open(); }), err::kObjectOpen);

    const QString odd = scratch(QStringLiteral("a;b \"c\" ")) + QStringLiteral("/avs.dat");
    ASSERT_TRUE(QDir().mkpath(scratch(QStringLiteral("a;b \"c\" "))));
    createIndexDatabase(odd);
    Connection connection;
    open(connection, odd);
    addRows(connection, {QStringLiteral("odd")});
    EXPECT_EQ(read(connection, QStringLiteral("SELECT * FROM filez")), QStringList{"odd"});

    Connection other;
    other.setConnectionString(QStringLiteral("PROVIDER=OtherEngine;Data Source=") + path());
    EXPECT_EQ(errorNumberOf([&] { other.open(); }), err::kProviderNotFound);
    Connection noFile;
    noFile.setConnectionString(QStringLiteral("PROVIDER=SQLite;"));
    EXPECT_EQ(errorNumberOf([&] { noFile.open(); }), err::kStoreFailure);
}

TEST_F(StoreTest, CreatingRefusesAnExistingFile) {
    addRows(db_, {QStringLiteral("kept")});
    db_.close();
    const QByteArray before = contentsOf(path());
    EXPECT_EQ(errorNumberOf([&] { createIndexDatabase(path()); }), err::kStoreFailure);
    EXPECT_EQ(contentsOf(path()), before);
    EXPECT_EQ(
        errorNumberOf([&] { createIndexDatabase(scratch(QStringLiteral("no/such/avs.dat"))); }),
        err::kStoreFailure);
    // Only the database itself is left in the folder: no half-made files.
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"avs.dat"});
}

}  // namespace
}  // namespace kwiklet::test
