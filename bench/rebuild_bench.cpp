// Measures the index rebuild. First the copy alone: 100,000 (or as many as the names
// file holds) staged entries stored row by row into an empty avs.dat, each row its own
// transaction, against SQLite storing the same rows in one transaction as a floor. Then
// a whole rebuild behind the Update button of a real main window (offscreen), with a
// generated tree as both the documents and the desktop folder, split into the walks and
// the rest (storing and listing), against find(1) walking the same folders. Last, the
// peak resident memory.
//
// Usage: rebuild_bench NAMES_FILE TREE [RUNS]
//   (names from bench/make-names.py, the tree from bench/make-tree.py)

#include "BenchHome.h"
#include "Measure.h"
#include "app/StartProgram.h"
#include "app/MainWindow.h"
#include "indexer/RebuildIndex.h"
#include "platform/posix/PosixPlatform.h"
#include "store/IndexHolder.h"
#include "store/IndexSchema.h"
#include "store/IndexStore.h"
#include "store/ResultList.h"
#include "store/Settings.h"
#include "windows/WaitWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kwiklet;

namespace {

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

QStringList readNames(const QString& path, qsizetype most) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(2);
    }
    return QString::fromUtf8(file.readAll())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        .mid(0, most);
}

QString programPath(const QString& name) {
    return QStringLiteral("/bench/programs/") + name + QStringLiteral(".exe");
}

// The rebuild's copy step on its own, into a fresh empty index.
double copyMilliseconds(const QString& folder, const ResultList& staged) {
    const QString path = folder + QStringLiteral("/copy.dat");
    QFile::remove(path);
    createIndexDatabase(path);
    IndexStore index(path);
    index.open();
    WaitWindow& wait = waitWindow();
    wait.showModeless();
    QElapsedTimer timer;
    timer.start();
    storeStagedEntries(index, staged, wait);
    const double elapsed = bench::millisecondsOf(timer);
    closeWaitWindow();
    return elapsed;
}

// SQLite storing the same rows in one transaction, one prepared statement.
double floorMilliseconds(const QString& folder, const QStringList& names) {
    const QString path = folder + QStringLiteral("/floor.dat");
    QFile::remove(path);
    createIndexDatabase(path);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    QElapsedTimer timer;
    timer.start();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO filez (id, name, path) VALUES (?, ?, ?)", -1, &insert,
                       nullptr);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray name = names[i].toUtf8();
        const QByteArray program = programPath(names[i]).toUtf8();
        sqlite3_bind_int64(insert, 1, i + 1);
        sqlite3_bind_text(insert, 2, name.constData(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, program.constData(), static_cast<int>(program.size()),
                          SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double elapsed = bench::millisecondsOf(timer);
    sqlite3_close(db);
    return elapsed;
}

double findMilliseconds(const QString& tree) {
    QElapsedTimer timer;
    timer.start();
    const QStringList runs[] = {
        {tree, QStringLiteral("-iname"), QStringLiteral("*.exe")},
        {tree, QStringLiteral("-iname"), QStringLiteral("*.exe")},
        {tree, QStringLiteral("-iname"), QStringLiteral("*.desktop")},
    };
    for (const QStringList& arguments : runs) {
        QProcess find;
        find.setStandardOutputFile(QProcess::nullDevice());
        find.start(QStringLiteral("find"), arguments);
        find.waitForFinished(-1);
    }
    return bench::millisecondsOf(timer);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 3) {
        std::fprintf(stderr, "usage: rebuild_bench NAMES_FILE TREE [RUNS]\n");
        return 2;
    }
    const QString tree = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;

    // A home whose documents and desktop are the tree, with no launchers anywhere else.
    QTemporaryDir home;
    bench::useHome(home.path(), tree, tree);

    QApplication application(argc, argv);
    QTemporaryDir executableFolder;
    QTemporaryDir configFolder;
    // The real platform: the rebuild's final pause is part of what the user waits for.
    installPlatform(std::make_unique<PosixPlatform>(
        PlatformLocations{executableFolder.path(), QStringLiteral("Kwiklet"), configFolder.path(),
                          executableFolder.path() + QStringLiteral("/share")}));
    settings::write(settings::kTop, QStringLiteral("300"));
    settings::write(settings::kLeft, QStringLiteral("300"));

    // The copy.
    const QStringList names = readNames(QString::fromLocal8Bit(argv[1]), 100000);
    ResultList staged;
    for (const QString& name : names) {
        staged.append(name, programPath(name));
    }
    std::vector<double> copies;
    std::vector<double> floors;
    for (int run = 0; run < runs; ++run) {
        copies.push_back(copyMilliseconds(executableFolder.path(), staged));
        floors.push_back(floorMilliseconds(executableFolder.path(), names));
    }
    const double copy = median(copies);
    const double floor = median(floors);
    std::printf("copy of %lld staged rows, each its own transaction: median %8.1f ms\n",
                static_cast<long long>(names.size()), copy);
    std::printf("sqlite3, the same rows in one transaction:        median %8.1f ms  ratio %.1f\n",
                floor, copy / floor);
    std::printf("peak resident memory after the copies:           %8.1f MB\n",
                bench::peakResidentMegabytes());

    // The whole rebuild behind the Update button.
    createIndexDatabase(executableFolder.path() + QStringLiteral("/avs.dat"));
    IndexHolder database;
    const auto window = launchProgram(database);
    if (!window) {
        return 1;
    }
    QElapsedTimer timer;
    double walksDone = 0;
    // The walks are over at the first turn of the message loop that finds the wait window
    // saying the rows are being stored (within one yield interval of the walks' end).
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (walksDone == 0 && isWaitWindowOpen() &&
            waitWindow().caption().text() == QLatin1String("Please Wait, Updating Database...")) {
            walksDone = bench::millisecondsOf(timer);
        }
    });
    watch.start(0);
    std::vector<double> walks;
    std::vector<double> rests;
    std::vector<double> finds;
    long long rows = 0;
    for (int run = 0; run < runs; ++run) {
        walksDone = 0;
        timer.start();
        window->updateDatabase();
        const double total = bench::millisecondsOf(timer);
        walks.push_back(walksDone);
        rests.push_back(total - walksDone);
        finds.push_back(findMilliseconds(tree));
        rows = window->results().count();
    }
    std::printf("rebuild over %s as documents and desktop (%lld names listed):\n", qPrintable(tree),
                rows);
    std::printf("  walks (6 of them):                 median %8.1f ms\n", median(walks));
    std::printf(
        "  storing and listing the rows, and the 100 ms pause:\n"
        "                                     median %8.1f ms\n",
        median(rests));
    std::printf("  find over the same three patterns: median %8.1f ms  walk ratio %.2f\n",
                median(finds), median(walks) / median(finds));
    std::printf("peak resident memory:                       %8.1f MB\n",
                bench::peakResidentMegabytes());
    return 0;
}
