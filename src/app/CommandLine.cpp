#include "app/CommandLine.h"

#include "app/IndexLocation.h"
#include "common/Version.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstring>

namespace kwiklet {
namespace {

enum class Request { Start, Help, Version };

Request requestIn(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            return Request::Help;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            return Request::Version;
        }
    }
    return Request::Start;
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv) {
    const Request request = requestIn(argc, argv);
    if (request == Request::Start) {
        return std::nullopt;
    }
    // Enough of an application to know where the executable lies, without a display.
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    if (request == Request::Version) {
        out << "Kwiklet " << kAppVersion << '\n';
        return 0;
    }
    out << "Usage: " << QCoreApplication::applicationName() << " [--help | --version]\n\n"
        << "Kwiklet, a keyboard-first quick-launcher: type the first letters of a program,\n"
           "launcher or favourite and press Enter to open it.\n\n"
           "  -h, --help  show this text and the index database Kwiklet uses\n"
           "  --version   show the version\n\n"
        << "Index database: " << LocateIndexDatabase().path << '\n';
    return 0;
}

}  // namespace kwiklet
