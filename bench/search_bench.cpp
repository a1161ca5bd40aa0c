// Measures the search box on a real main window (offscreen) over a generated index:
// the time from a key typed into the search box until the list is filled, shown and the box
// completed, for a blank box, a one-letter prefix and a selective prefix; the load's
// full fill; the selective prefix again right after another program renamed an entry;
// opening the index; and the peak resident memory. `grep -i '^PREFIX'` over the same names
// gives a floor to compare with.
//
// Usage: search_bench NAMES_FILE [REPEATS]   (names from bench/make-names.py)

#include "Measure.h"
#include "app/StartProgram.h"
#include "app/MainWindow.h"
#include "platform/fake/RecordingPlatform.h"
#include "platform/posix/PosixPlatform.h"
#include "store/IndexHolder.h"
#include "store/IndexSchema.h"
#include "store/Like.h"
#include "store/Settings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace kwiklet;

namespace {

struct Figures {
    double median = 0;
    double p95 = 0;
};

Figures summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        return samples[static_cast<std::size_t>(q * static_cast<double>(samples.size() - 1) + 0.5)];
    };
    return {at(0.5), at(0.95)};
}

// Times `measured` after `prepare`, both run `repeats` times; milliseconds.
Figures timeRepeated(int repeats, const std::function<void()>& prepare,
                     const std::function<void()>& measured) {
    std::vector<double> samples;
    for (int i = 0; i < repeats; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        measured();
        samples.push_back(bench::millisecondsOf(timer));
    }
    return summarise(samples);
}

struct StoredNames {
    QString first;
    long long count = 0;
};

// Stores each line of the names file as a row with its name key, as the program stores
// it, through one prepared statement in one transaction. The names are read line by line and not
// kept: the peak memory the benchmark reports is then the program's, not the benchmark's own.
StoredNames createIndex(const QString& databasePath, const QString& namesFile) {
    QFile file(namesFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(namesFile));
        std::exit(2);
    }
    createIndexDatabase(databasePath);
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(databasePath).constData(), &db, SQLITE_OPEN_READWRITE,
                    nullptr);
    like::registerFunctions(db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO filez (id, name, path, name_key) VALUES (?1, ?2, "
                       "'/bench/programs/' || ?2 || '.exe', kwiklet_fold(?2))",
                       -1, &insert, nullptr);
    StoredNames stored;
    while (!file.atEnd()) {
        const QByteArray name = file.readLine().trimmed();
        if (name.isEmpty()) {
            continue;
        }
        if (stored.count == 0) {
            stored.first = QString::fromUtf8(name);
        }
        sqlite3_bind_int64(insert, 1, ++stored.count);
        sqlite3_bind_text(insert, 2, name.constData(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            std::fprintf(stderr, "insert failed: %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    IndexStore store(databasePath);
    store.open();
    long long counted = 0;
    for (IndexRows rows = store.allEntries(); !rows.atEnd(); rows.next()) {
        ++counted;
    }
    std::printf("rows stored: %lld\n", counted);
    if (stored.count == 0) {
        std::fprintf(stderr, "no names in %s\n", qPrintable(namesFile));
        std::exit(2);
    }
    return stored;
}

// Renames the first row the way another program would: plain SQLite, no name key.
void renameAsOtherProgram(const QString& databasePath, const QString& name) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(databasePath).constData(), &db, SQLITE_OPEN_READWRITE,
                    nullptr);
    const QByteArray sql = "UPDATE filez SET name = '" + name.toUtf8() +
                           "' WHERE rowid = (SELECT min(rowid) FROM filez)";
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "rename failed: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_close(db);
}

double grepMilliseconds(const QString& namesFile, const QString& prefix, int repeats) {
    std::vector<double> samples;
    for (int i = 0; i < repeats; ++i) {
        QProcess grep;
        grep.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        grep.start(QStringLiteral("grep"),
                   {QStringLiteral("-i"), QLatin1Char('^') + prefix, namesFile});
        grep.waitForFinished(-1);
        samples.push_back(bench::millisecondsOf(timer));
    }
    return summarise(samples).median;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_bench NAMES_FILE [REPEATS]\n");
        return 2;
    }
    const QString namesFile = QString::fromLocal8Bit(argv[1]);
    const int repeats = argc > 2 ? std::max(3, std::atoi(argv[2])) : 30;

    QTemporaryDir executableFolder;
    QTemporaryDir configFolder;
    installPlatform(std::make_unique<RecordingPlatform>(std::make_unique<PosixPlatform>(
        PlatformLocations{executableFolder.path(), QStringLiteral("Kwiklet"), configFolder.path(),
                          executableFolder.path() + QStringLiteral("/share")})));
    settings::write(settings::kTop, QStringLiteral("300"));
    settings::write(settings::kLeft, QStringLiteral("300"));

    const StoredNames names =
        createIndex(executableFolder.path() + QStringLiteral("/avs.dat"), namesFile);
    const QString oneLetter = names.first.left(1);
    const QString selective = names.first.left(4);

    IndexHolder database;
    QElapsedTimer loadTimer;
    loadTimer.start();
    const auto window = launchProgram(database);
    QCoreApplication::processEvents();
    const double loadMs = bench::millisecondsOf(loadTimer);
    if (!window) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    const auto listedAtLoad = static_cast<long long>(window->results().count());
    QLineEdit& box = *&window->searchBox();
    const auto settle = [] { QCoreApplication::processEvents(); };

    const Figures blank = timeRepeated(
        std::max(3, repeats / (names.count > 100000 ? 10 : 1)),
        [&] {
            box.setText(QStringLiteral("x"));
            box.selectAll();
        },
        [&] {
            QTest::keyClick(&box, Qt::Key_Backspace);
            settle();
        });
    // Each key replaces a selection, as it does after a completion, so that typing it
    // is one change of the box.
    const auto selectNonMatching = [&] {
        box.setText(QStringLiteral("0zz"));
        box.selectAll();
    };
    const Figures letter = timeRepeated(repeats, selectNonMatching, [&] {
        QTest::keyClicks(&box, oneLetter);
        settle();
    });
    const Figures prefix = timeRepeated(
        repeats, [&] { box.setText(selective.left(3)); },  // completes, the rest selected
        [&] {
            QTest::keyClicks(&box, selective.mid(3));
            settle();
        });

    // Another program renames one entry: the next search finds the keys stale, repairs
    // them and searches again. Each repeat renames the entry back and forth.
    const QString databasePath = executableFolder.path() + QStringLiteral("/avs.dat");
    int renames = 0;
    const Figures afterRename = timeRepeated(
        std::max(3, repeats / (names.count > 100000 ? 10 : 1)),
        [&] {
            box.setText(selective.left(3));
            renameAsOtherProgram(databasePath,
                                 ++renames % 2 ? QStringLiteral("zzrenamed") : names.first);
        },
        [&] {
            QTest::keyClicks(&box, selective.mid(3));
            settle();
        });
    const Figures opening = timeRepeated(
        std::max(3, repeats / 10), [] {}, [&] { IndexStore(databasePath).open(); });

    const double grepLetter = grepMilliseconds(namesFile, oneLetter, repeats);
    const double grepPrefix = grepMilliseconds(namesFile, selective, repeats);

    std::printf("rows: %lld (distinct names listed at load: %lld)\n", names.count, listedAtLoad);
    std::printf("load, full fill:               %8.1f ms\n", loadMs);
    std::printf("blank box (whole index):       median %7.2f ms  p95 %7.2f ms\n", blank.median,
                blank.p95);
    std::printf(
        "one-letter prefix '%s':          median %7.2f ms  p95 %7.2f ms  grep %6.2f ms  ratio "
        "%5.2f\n",
        qPrintable(oneLetter), letter.median, letter.p95, grepLetter, letter.median / grepLetter);
    std::printf(
        "selective prefix '%s':       median %7.2f ms  p95 %7.2f ms  grep %6.2f ms  ratio %5.2f\n",
        qPrintable(selective), prefix.median, prefix.p95, grepPrefix, prefix.median / grepPrefix);
    std::printf(
        "selective, after a rename by another program:\n"
        "                               median %7.2f ms  p95 %7.2f ms\n",
        afterRename.median, afterRename.p95);
    std::printf("opening the index (key check): median %7.2f ms  p95 %7.2f ms\n", opening.median,
                opening.p95);
    std::printf("peak resident memory:          %8.1f MB\n", bench::peakResidentMegabytes());
    return 0;
}
