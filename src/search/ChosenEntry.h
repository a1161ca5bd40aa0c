#pragma once

// The entry Enter opens: the path of the name the box completed or the list chose, or in
// web mode the chosen engine's address. It is shown nowhere, so assistive technology reads
// it as the search box's description.

#include <QLineEdit>
#include <QString>

namespace kwiklet {

class ChosenEntry {
public:
    explicit ChosenEntry(QLineEdit& searchBox) : searchBox_(searchBox) {}

    const QString& path() const { return path_; }
    void setPath(const QString& path) {
        path_ = path;
        searchBox_.setAccessibleDescription(path);
    }
    void clear() { setPath(QString()); }

private:
    QLineEdit& searchBox_;
    QString path_;
};

}  // namespace kwiklet
