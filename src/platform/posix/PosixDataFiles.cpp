// The program's data files on Linux: the read-only data an installation puts under
// <prefix>/share, and the user's own under $XDG_DATA_HOME.

#include "platform/posix/PosixPlatform.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace kwiklet {
namespace {

// Closes the descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }
    bool valid() const { return descriptor_ >= 0; }

private:
    int descriptor_;
};

// Copies everything from one descriptor to the other and makes it durable; 0 or errno.
int copyContents(int from, int to) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t read = ::read(from, buffer, sizeof buffer);
        if (read == 0) {
            break;
        }
        if (read < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        for (ssize_t written = 0; written < read;) {
            const ssize_t step = ::write(to, buffer + written, static_cast<size_t>(read - written));
            if (step < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return errno;
            }
            written += step;
        }
    }
    return ::fsync(to) == 0 ? 0 : errno;
}

}  // namespace

bool PosixPlatform::isFolderWritable(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           ::access(path.constData(), W_OK | X_OK) == 0;
}

QString PosixPlatform::installedDataFolder() {
    if (!locations_.installedDataFolder.isEmpty()) {
        return locations_.installedDataFolder;
    }
    return QDir::cleanPath(executableFolder() + QStringLiteral("/" KWIKLET_INSTALLED_DATA));
}

QString PosixPlatform::userDataFolder(const QString& application) {
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    return (QDir::isAbsolutePath(dataHome) ? dataHome
                                           : QDir::homePath() + QStringLiteral("/.local/share")) +
           QLatin1Char('/') + application;
}

int PosixPlatform::copyFileIfAbsent(const QString& source, const QString& target) {
    // The system's own reason when the folder cannot be made (a read-only home is
    // EROFS, not a refusal).
    std::error_code madeFolder;
    std::filesystem::create_directories(
        QFile::encodeName(QFileInfo(target).absolutePath()).toStdString(), madeFolder);
    if (madeFolder) {
        return madeFolder.value();
    }
    const Descriptor from(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    if (!from.valid()) {
        return errno;
    }
    // The copy is written under a temporary name and then linked to the target: link
    // never replaces a file, and the target appears only once it is whole.
    QByteArray temporary = QFile::encodeName(target + QStringLiteral(".XXXXXX"));
    const Descriptor to(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!to.valid()) {
        return errno;
    }
    // The index lists the user's own files: it stays theirs alone to read (0600).
    int error = copyContents(from.get(), to.get());
    if (error == 0 && ::link(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        error = errno;
    }
    ::unlink(temporary.constData());
    return error;
}

}  // namespace kwiklet
