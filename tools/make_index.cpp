// kwiklet-make-index PATH: puts an empty index database at PATH unless a file is already
// there. The build runs it so that a freshly built kwiklet finds its avs.dat; an index
// that is already there, with the user's entries, is never touched.

#include "common/AppError.h"
#include "store/IndexSchema.h"

#include <QFileInfo>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr,
                     "Usage: kwiklet-make-index PATH\n"
                     "Creates an empty index database at PATH if no file is there.\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isDir()) {
        std::printf("An index database is already at %s; it was left as it is.\n", argv[1]);
        return 0;
    }
    try {
        kwiklet::createIndexDatabase(path);
    } catch (const kwiklet::AppError& error) {
        std::fprintf(stderr, "kwiklet-make-index: %s\n",
                     error.description().toLocal8Bit().constData());
        return 1;
    }
    std::printf("Created an empty index database at %s.\n", argv[1]);
    return 0;
}
