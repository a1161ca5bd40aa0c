// Measures the index's upkeep on a real program (offscreen), with names it makes itself:
//
// 1. Opening an index of ROWS rows (1,000,000 unless given) that another program filled
//    with plain SQLite, leaving every name key empty: the time until the first window
//    (About) is on the screen, and the open alone, against opening the same index once
//    its keys are right.
// 2. The write-ahead log beside the index across 1, 3 and 10 rebuilds of 32,767 rows
//    behind the Update button: its largest size while the rows are stored, its size
//    after each rebuild, and after the program closes the index.
//
// Usage: upkeep_bench [ROWS]

#include "BenchHome.h"
#include "Measure.h"
#include "app/StartProgram.h"
#include "app/MainWindow.h"
#include "platform/fake/RecordingPlatform.h"
#include "platform/posix/PosixPlatform.h"
#include "store/IndexHolder.h"
#include "store/IndexSchema.h"
#include "store/IndexStore.h"
#include "store/Settings.h"
#include "windows/WaitWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace kwiklet;

namespace {

constexpr int kRebuildRows = 32767;

double megabytes(qint64 bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

qint64 logBytes(const QString& databasePath) {
    return QFileInfo(databasePath + QStringLiteral("-wal")).size();  // 0 when absent
}

// Fills the index the way another program would: sqlite3, one transaction, no key.
void fillAsOtherProgram(const QString& databasePath, int rows) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(databasePath).constData(), &db, SQLITE_OPEN_READWRITE,
                    nullptr);
    const QByteArray sql =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        QByteArray::number(rows) +
        ") INSERT INTO filez (id, name, path) SELECT i, 'Program ' || hex(randomblob(4)) || i, "
        "'/opt/programs/program' || i || '.desktop' FROM n";
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "filling failed: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_close(db);
}

double openMilliseconds(const QString& databasePath) {
    QElapsedTimer timer;
    timer.start();
    IndexStore(databasePath).open();
    return bench::millisecondsOf(timer);
}

// From the start until the About window is shown and painted, then the load.
void showFirstWindowThenLoad() {
    IndexHolder database;
    std::unique_ptr<MainWindow> window;
    QElapsedTimer timer;
    timer.start();
    if (!showStartUp(database, window)) {
        std::fprintf(stderr, "start-up failed\n");
        std::exit(1);
    }
    QCoreApplication::processEvents();
    const double elapsed = bench::millisecondsOf(timer);
    std::printf("start until the first window is shown: %8.1f ms\n", elapsed);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        top->close();
    }
    QCoreApplication::processEvents();
    // What Continue then does: the main window's load, behind the wait window.
    QElapsedTimer load;
    load.start();
    loadMainWindow(database, window);
    QCoreApplication::processEvents();
    std::printf("then the main window's load (fill):    %8.1f ms, %lld listed\n",
                bench::millisecondsOf(load), static_cast<long long>(window->results().count()));
}

void measureForeignIndex(const QString& databasePath, int rows) {
    std::printf("== an index of %d rows filled by another program, keys left empty\n", rows);
    QFile::remove(databasePath);
    createIndexDatabase(databasePath);
    fillAsOtherProgram(databasePath, rows);
    settings::write(settings::kTop, QStringLiteral("300"));  // not a first run
    settings::write(settings::kLeft, QStringLiteral("300"));
    showFirstWindowThenLoad();
    std::printf("log left beside it once closed:        %8.1f MB\n",
                megabytes(logBytes(databasePath)));

    QFile::remove(databasePath);
    QFile::remove(databasePath + QStringLiteral("-wal"));
    QFile::remove(databasePath + QStringLiteral("-shm"));
    createIndexDatabase(databasePath);
    fillAsOtherProgram(databasePath, rows);
    const double repairing = openMilliseconds(databasePath);
    const double repaired = openMilliseconds(databasePath);
    std::printf("opening it, keys stale:                %8.1f ms\n", repairing);
    std::printf("opening it again, keys right:          %8.1f ms\n", repaired);
}

void measureLog(const QString& databasePath, const QString& documents) {
    std::printf("== the log across rebuilds of %d rows\n", kRebuildRows);
    QDir().mkpath(documents);
    for (int i = 0; i < kRebuildRows; ++i) {
        QFile(documents + QStringLiteral("/program%1.exe").arg(i)).open(QIODevice::WriteOnly);
    }
    for (const int rebuilds : {1, 3, 10}) {
        QFile::remove(databasePath);
        createIndexDatabase(databasePath);
        settings::write(settings::kTop, QStringLiteral("300"));
        settings::write(settings::kLeft, QStringLiteral("300"));
        qint64 largest = 0;
        qint64 largestAfter = 0;
        qint64 after = 0;
        // Sampled at every turn of the message loop while the wait window says the rows
        // are being stored.
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            if (isWaitWindowOpen() &&
                waitWindow().caption().text() == QLatin1String("Please Wait, Updating Database...")) {
                largest = std::max(largest, logBytes(databasePath));
            }
        });
        sampler.start(0);
        // The table is empty: the load rebuilds it, the Update button the other times.
        QElapsedTimer timer;
        timer.start();
        IndexHolder database;
        auto window = launchProgram(database);
        if (!window) {
            std::fprintf(stderr, "start-up failed\n");
            std::exit(1);
        }
        for (int run = 0; run < rebuilds; ++run) {
            if (run > 0) {
                window->updateDatabase();
            }
            after = logBytes(databasePath);
            largest = std::max(largest, after);
            largestAfter = std::max(largestAfter, after);
        }
        const double elapsed = bench::millisecondsOf(timer);
        const auto listed = static_cast<long long>(window->results().count());
        window.reset();
        closeIndex(database);
        std::printf(
            "%2d rebuild(s), %lld listed, %6.0f ms each: log largest %7.1f MB, after the last "
            "%6.1f MB (largest after one %6.1f MB), after closing %5.1f MB\n",
            rebuilds, listed, elapsed / rebuilds, megabytes(largest), megabytes(after),
            megabytes(largestAfter), megabytes(logBytes(databasePath)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;

    // A home whose documents hold the programs the rebuilds find, and nothing else.
    QTemporaryDir home;
    const QString documents = home.path() + QStringLiteral("/Documents");
    bench::useHome(home.path(), documents, home.path() + QStringLiteral("/Desktop"));

    QApplication application(argc, argv);
    QTemporaryDir executableFolder;
    QTemporaryDir configFolder;
    installPlatform(std::make_unique<RecordingPlatform>(std::make_unique<PosixPlatform>(
        PlatformLocations{executableFolder.path(), QStringLiteral("Kwiklet"), configFolder.path(),
                          executableFolder.path() + QStringLiteral("/share")})));
    const QString databasePath = executableFolder.path() + QStringLiteral("/avs.dat");

    measureForeignIndex(databasePath, rows);
    measureLog(databasePath, documents);
    std::printf("peak resident memory: %.1f MB\n", bench::peakResidentMegabytes());
    return 0;
}
