#pragma once

// The "[Group]" and "Key=Value" text files of the desktop: .desktop launchers and .url
// internet shortcuts. Values are kept as written; localized keys keep their suffix
// ("Name[de]").

#include <QHash>
#include <QString>

namespace kwiklet {

class KeyFile {
public:
    // Reads the file; a file that cannot be read, or is not text of this form, has no
    // groups. Only the first occurrence of a group or a key counts.
    static KeyFile read(const QString& path);
    static KeyFile parse(const QByteArray& text);

    bool hasGroup(const QString& group) const { return groups_.contains(group); }
    // The value as written, or a null string when the key is not in the group.
    QString value(const QString& group, const QString& key) const;

private:
    QHash<QString, QHash<QString, QString>> groups_;
};

}  // namespace kwiklet
