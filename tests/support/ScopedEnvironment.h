#pragma once

// Environment variables set for a test and put back as they were afterwards.

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace kwiklet::test {

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment() {
        for (auto saved = saved_.rbegin(); saved != saved_.rend(); ++saved) {
            saved->second ? qputenv(saved->first, *saved->second) : qunsetenv(saved->first);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // Sets the variable, or unsets it for a null value.
    void set(const char* name, const QString& value) {
        saved_.emplace_back(
            name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        value.isNull() ? qunsetenv(name) : qputenv(name, value.toUtf8());
    }

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};

}  // namespace kwiklet::test
