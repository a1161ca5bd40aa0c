#pragma once

#include <QString>

#include <stdexcept>

namespace kwiklet {

// Error numbers the program reports. The database ones keep the numbers users of the
// old data engine know, so "3709: ..." in a message box means the same thing it always did.
namespace err {
inline constexpr int kOverflow = 6;              // a number too large for its type
inline constexpr int kTypeMismatch = 13;         // text that is not a number
inline constexpr int kObjectClosed = 3704;       // rows or store used while closed
inline constexpr int kInvalidConnection = 3709;  // no usable connection
inline constexpr int kMalformedStatement = -2147217900;  // statement text the store rejects
inline constexpr int kStoreFailure = -2147467259;        // the database file failed otherwise
}  // namespace err

// The one run-time error type: a number and a description, as shown to the user.
class AppError : public std::runtime_error {
public:
    AppError(int number, QString description)
        : std::runtime_error(description.toStdString()),
          number_(number),
          description_(std::move(description)) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

}  // namespace kwiklet
