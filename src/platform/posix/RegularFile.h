#pragma once

// Reading a small text file that someone else may have put in place. A named pipe or a
// device under a launcher's name would otherwise block the program or never end.

#include <QByteArray>
#include <QString>

#include <optional>

namespace kwiklet {

// The contents of the file at the path (links followed) when it is a regular file of at
// most `largest` bytes; nothing for anything else, without ever waiting for a writer.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 largest);

}  // namespace kwiklet
