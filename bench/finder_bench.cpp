// Times the finder against find(1) on the same folder tree, in the same run and with a
// warm cache, and prints the medians, their ratio and the peak memory.
//
//   finder_bench TREE [RUNS]
//
// TREE is a generated folder tree (see README.md); RUNS defaults to 7.

#include "indexer/Finder.h"
#include "store/ResultList.h"

#include <QApplication>
#include <QFile>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kPattern = "*.exe";

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs find over the tree with its output sent to `output` (a file descriptor), and
// returns the wall-clock time it took, or a negative value when it could not run.
double runFind(const std::string& tree, int output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    std::string root = tree;
    std::string name = "find";
    std::string test = "-iname";
    std::string pattern = kPattern;
    char* arguments[] = {name.data(), root.data(), test.data(), pattern.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "find", &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return millisecondsSince(start);
}

// How many lines find prints: the number of matches the finder has to agree with.
long countFindMatches(const std::string& tree) {
    char file[] = "/tmp/finder_bench_XXXXXX";
    const int output = mkstemp(file);
    if (output < 0) {
        return -1;
    }
    unlink(file);
    long lines = -1;
    if (runFind(tree, output) >= 0) {
        lines = 0;
        lseek(output, 0, SEEK_SET);
        char buffer[65536];
        ssize_t got = 0;
        while ((got = read(output, buffer, sizeof buffer)) > 0) {
            lines += std::count(buffer, buffer + got, '\n');
        }
    }
    close(output);
    return lines;
}

double runFinder(const QString& tree, qsizetype& matches) {
    kwiklet::ResultList lists;
    const Clock::time_point start = Clock::now();
    kwiklet::findFiles(tree, QString::fromLatin1(kPattern), lists);
    const double elapsed = millisecondsSince(start);
    matches = lists.count();
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);

    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s TREE [RUNS]\n", argv[0]);
        return 2;
    }
    const std::string tree = argv[1];
    const int runs = argc == 3 ? std::atoi(argv[2]) : 7;
    struct stat info {};
    if (stat(tree.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        std::fprintf(stderr, "%s is not a folder; generate one with make-tree.py first\n",
                     tree.c_str());
        return 2;
    }
    if (runs < 1) {
        std::fprintf(stderr, "RUNS must be at least 1\n");
        return 2;
    }
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull < 0) {
        std::perror("/dev/null");
        return 1;
    }

    // Warm the cache with both, and check that they agree on what matches.
    const long expected = countFindMatches(tree);
    if (expected < 0) {
        std::fprintf(stderr, "find could not run over %s\n", tree.c_str());
        return 1;
    }
    const long residentBefore = peakResidentKilobytes();
    const QString treeText = QFile::decodeName(tree.c_str());
    qsizetype matches = 0;
    runFinder(treeText, matches);

    std::vector<double> findTimes;
    std::vector<double> walkTimes;
    for (int run = 0; run < runs; ++run) {
        // Alternate which goes first, so neither always finds the other's leftovers.
        if (run % 2 == 0) {
            findTimes.push_back(runFind(tree, devNull));
            walkTimes.push_back(runFinder(treeText, matches));
        } else {
            walkTimes.push_back(runFinder(treeText, matches));
            findTimes.push_back(runFind(tree, devNull));
        }
    }
    close(devNull);
    if (*std::min_element(findTimes.begin(), findTimes.end()) < 0) {
        std::fprintf(stderr, "find failed during the runs\n");
        return 1;
    }

    const double findMedian = median(findTimes);
    const double walkMedian = median(walkTimes);

    std::printf("tree            %s\n", tree.c_str());
    std::printf("pattern         %s\n", kPattern);
    std::printf("matches         findFiles %lld, find %ld%s\n", static_cast<long long>(matches),
                expected, matches == expected ? "" : "  (DIFFER)");
    std::printf("runs            %d (median, warm cache)\n", runs);
    std::printf("findFiles       %.1f ms\n", walkMedian);
    std::printf("find -iname     %.1f ms\n", findMedian);
    std::printf("ratio           %.2f (budget 1.50)\n", walkMedian / findMedian);
    // The process's peak includes the window system's libraries; the difference is
    // what the walks and their result lists added.
    const long residentAfter = peakResidentKilobytes();
    std::printf("peak RSS        %ld KB (before the walks %ld KB, walks added %ld KB)\n",
                residentAfter, residentBefore, residentAfter - residentBefore);
    return walkMedian / findMedian <= 1.5 && matches == expected ? 0 : 1;
}
