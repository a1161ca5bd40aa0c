// kwiklet-make-index PATH: puts an empty index database at PATH unless a file is already
// there. The build runs it so that a freshly built kwiklet finds its avs.dat; an index
// that is already there, with the user's entries, is never touched.

#include "common/AppError.h"
#include "store/IndexSchema.h"

#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "Usage: kwiklet-make-index [--help] [--] PATH\n"
    "Creates an empty Kwiklet index database at PATH if no file is there.\n"
    "An existing file is never changed. Use -- before a PATH that begins with '-'.\n";

enum ExitStatus { kDone = 0, kFailed = 1, kBadArguments = 2 };

}  // namespace

int main(int argc, char** argv) {
    const char* target = nullptr;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!optionsEnded && std::strcmp(argument, "--") == 0) {
            optionsEnded = true;
        } else if (!optionsEnded &&
                   (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0)) {
            std::fputs(kUsage, stdout);
            return kDone;
        } else if (!optionsEnded && argument[0] == '-' && argument[1] != '\0') {
            std::fprintf(stderr, "kwiklet-make-index: unknown option '%s'\n%s", argument, kUsage);
            return kBadArguments;
        } else if (target == nullptr) {
            target = argument;
        } else {
            std::fprintf(stderr, "kwiklet-make-index: one PATH only\n%s", kUsage);
            return kBadArguments;
        }
    }
    if (target == nullptr || target[0] == '\0') {
        std::fputs(kUsage, stderr);
        return kBadArguments;
    }

    const QString path = QString::fromLocal8Bit(target);
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isDir()) {
        std::printf("An index database is already at %s; it was left as it is.\n", target);
        return kDone;
    }
    try {
        kwiklet::createIndexDatabase(path);
    } catch (const kwiklet::AppError& error) {
        std::fprintf(stderr, "kwiklet-make-index: %s\n",
                     error.description().toLocal8Bit().constData());
        return kFailed;
    }
    std::printf("Created an empty index database at %s.\n", target);
    return kDone;
}
