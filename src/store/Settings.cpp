#include "store/Settings.h"

#include "platform/Platform.h"

namespace kwiklet::settings {

QString read(const QString& key, const QString& defaultValue) {
    auto& system = platform();
    return system.readSetting(system.executableName(), kSection, key, defaultValue);
}

void write(const QString& key, const QString& value) {
    auto& system = platform();
    system.writeSetting(system.executableName(), kSection, key, value);
}

}  // namespace kwiklet::settings
