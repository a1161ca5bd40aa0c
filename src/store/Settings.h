#pragma once

// The user's saved choices: text values in the per-user settings store, under the
// executable's name and the section "Options".

#include <QString>

#include <cstdint>

namespace kwiklet::settings {

inline const QString kSection = QStringLiteral("Options");

inline const QString kTop = QStringLiteral("Top");
inline const QString kLeft = QStringLiteral("Left");
inline const QString kAlwaysOnTop = QStringLiteral("AOT");
inline const QString kOpenOnStartup = QStringLiteral("OOS");
inline const QString kTransparency = QStringLiteral("TransVal");
inline const QString kSkinRed = QStringLiteral("firstVal");
inline const QString kSkinGreen = QStringLiteral("secondVal");
inline const QString kSkinBlue = QStringLiteral("thirdVal");
inline const QString kTopToBottom = QStringLiteral("TopToBottom");

// The stored text of the key, or the default when it was never written.
QString read(const QString& key, const QString& defaultValue);
// Stores the text at once.
void write(const QString& key, const QString& value);

}  // namespace kwiklet::settings

namespace kwiklet {

inline constexpr std::uint32_t HKEY_CLASSES_ROOT_KEY = 0x80000000u;
inline constexpr std::uint32_t HKEY_CURRENT_USER_KEY = 0x80000001u;
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE_KEY = 0x80000002u;

// Reads a registry value as text. True when it was read; on failure the result is "".
// A text value gives its text without a closing NUL; a number value its decimal
// digits; a value of any other type leaves the result as it was passed in.
bool ReadRegistryString(std::uint32_t rootKey, const QString& subkey, const QString& valueName,
                        QString& result);

}  // namespace kwiklet
