#include "platform/posix/KeyFile.h"

#include "platform/posix/RegularFile.h"

#include <QList>

namespace kwiklet {
namespace {
// Launchers and shortcuts are a few kilobytes; anything much larger is not one.
constexpr qint64 kLargestFile = 1024 * 1024;
}  // namespace

KeyFile KeyFile::read(const QString& path) {
    const std::optional<QByteArray> text = readRegularFile(path, kLargestFile);
    return text ? parse(*text) : KeyFile();
}

KeyFile KeyFile::parse(const QByteArray& text) {
    KeyFile result;
    QHash<QString, QString>* group = nullptr;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2);
            group = result.groups_.contains(name) ? nullptr : &result.groups_[name];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (group == nullptr || equals <= 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        if (!group->contains(key)) {
            group->insert(key, line.mid(equals + 1).trimmed());
        }
    }
    return result;
}

QString KeyFile::value(const QString& group, const QString& key) const {
    const auto found = groups_.constFind(group);
    return found == groups_.constEnd() ? QString() : found->value(key);
}

}  // namespace kwiklet
