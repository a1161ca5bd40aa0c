#include "store/Settings.h"

#include "platform/Platform.h"

#include <QtEndian>

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

namespace kwiklet {
namespace {
constexpr int kRegistryText = 1;
constexpr int kRegistryNumber = 4;
constexpr qsizetype kValueBufferBytes = 1024;
}  // namespace

bool ReadRegistryString(std::uint32_t rootKey, const QString& subkey, const QString& valueName,
                        QString& result) {
    const auto value = platform().readRegistryValue(rootKey, subkey, valueName);
    if (!value || value->data.size() > kValueBufferBytes) {
        result.clear();
        return false;
    }
    if (value->type == kRegistryText) {
        QByteArray text = value->data;
        if (text.endsWith('\0')) {
            text.chop(1);
        }
        result = QString::fromLocal8Bit(text);
    } else if (value->type == kRegistryNumber && value->data.size() == 4) {
        result = QString::number(qFromLittleEndian<quint32>(value->data.constData()));
    }
    return true;
}

}  // namespace kwiklet
