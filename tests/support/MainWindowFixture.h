#pragma once

// A real main window over a temporary avs.dat and temporary settings.

#include "app/picMain.h"
#include "store/IndexDatabase.h"
#include "support/QtPrinters.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kwiklet::test {

struct Row {
    QString name;
    QString path;
};

// Rows named name0, name1, ... with distinct paths.
std::vector<Row> generatedRows(int count);

// Creates an index database at the path holding the rows, in this order.
void createDatabaseAt(const QString& path, const std::vector<Row>& rows);

class MainWindowFixture : public ::testing::Test {
protected:
    // Creates avs.dat beside the executable holding the rows, in this order.
    void createDatabase(const std::vector<Row>& rows);
    // A stored window position, so that the load does not take the first-run path.
    void storePosition(int top = 300, int left = 600);
    void storeSetting(const QString& key, const QString& value);
    QString storedSetting(const QString& key);

    // Starts the program as the user would; null when start-up failed.
    picMain* launch();
    // Types into the search box as a user would.
    void type(const QString& keys);

    QStringList listedNames() const;
    QStringList listedPaths() const;
    QStringList messageTexts() const;

    TestPlatform platform_;
    RecordingPlatform& recorder_ = platform_.recorder();
    IndexDatabase database_;
    std::unique_ptr<picMain> window_;
};

}  // namespace kwiklet::test
