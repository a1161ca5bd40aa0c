#include "appearance/Skin.h"

#include "common/Conversions.h"
#include "common/ErrorTrap.h"
#include "store/Settings.h"

#include <algorithm>

namespace kwiklet {
namespace {

std::int32_t componentFrom(const QString& key) {
    return std::clamp(toInt32(settings::read(key, QStringLiteral("-1"))), 0, 255);
}

// The saved skin, or the built-in one when none is saved or what is saved is not a
// skin: a colour the user cannot read back is no reason to refuse loading the window.
SkinState savedSkin() {
    SkinState skin = kBuiltInSkin;
    const auto error = catchError([&skin] {
        const std::int32_t red = toInt32(settings::read(settings::kSkinRed, QStringLiteral("-1")));
        if (red == -1) {
            return;
        }
        SkinState saved;
        saved.red = std::clamp(red, 0, 255);
        saved.green = componentFrom(settings::kSkinGreen);
        saved.blue = componentFrom(settings::kSkinBlue);
        saved.topToBottom = toBoolean(settings::read(settings::kTopToBottom, QStringLiteral("-1")));
        skin = saved;
    });
    return error ? kBuiltInSkin : skin;
}

}  // namespace

void applySavedSkin(GradientSurface& surface) {
    SkinState& state = skinState();
    state = savedSkin();
    paintGradient(surface, state.red, state.green, state.blue, state.topToBottom);
}

}  // namespace kwiklet
