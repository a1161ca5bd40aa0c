#pragma once

// The user's saved choices: text values in the per-user settings store, under the
// executable's name and the section "Options".

#include <QString>

namespace kwiklet::settings {

inline const QString kSection = QStringLiteral("Options");

inline const QString kTop = QStringLiteral("Top");
inline const QString kLeft = QStringLiteral("Left");
inline const QString kAlwaysOnTop = QStringLiteral("AOT");
inline const QString kOpenOnStartup = QStringLiteral("OOS");
inline const QString kStayRunning = QStringLiteral("StayRunning");
inline const QString kTransparency = QStringLiteral("TransVal");
inline const QString kSkinRed = QStringLiteral("firstVal");
inline const QString kSkinGreen = QStringLiteral("secondVal");
inline const QString kSkinBlue = QStringLiteral("thirdVal");
inline const QString kTopToBottom = QStringLiteral("TopToBottom");
inline const QString kHotkey = QStringLiteral("Hotkey");

// The stored text of the key, or the default when it was never written.
QString read(const QString& key, const QString& defaultValue);
// Stores the text at once.
void write(const QString& key, const QString& value);

}  // namespace kwiklet::settings
