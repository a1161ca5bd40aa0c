#include "platform/KeyCombination.h"

#include <QStringList>

namespace kwiklet {
namespace {

struct Name {
    const char* text;
    int value;  // a Qt::Key or a Qt::KeyboardModifier
};

// The first name of each is the canonical one.
constexpr Name kModifiers[] = {
    {"Ctrl", Qt::ControlModifier}, {"Control", Qt::ControlModifier}, {"Alt", Qt::AltModifier},
    {"Shift", Qt::ShiftModifier},  {"Super", Qt::MetaModifier},      {"Meta", Qt::MetaModifier},
};

constexpr Name kNamedKeys[] = {
    {"Space", Qt::Key_Space},
    {"Tab", Qt::Key_Tab},
    {"Return", Qt::Key_Return},
    {"Enter", Qt::Key_Return},
    {"Escape", Qt::Key_Escape},
    {"Esc", Qt::Key_Escape},
    {"Backspace", Qt::Key_Backspace},
    {"Insert", Qt::Key_Insert},
    {"Delete", Qt::Key_Delete},
    {"Del", Qt::Key_Delete},
    {"Home", Qt::Key_Home},
    {"End", Qt::Key_End},
    {"PageUp", Qt::Key_PageUp},
    {"PgUp", Qt::Key_PageUp},
    {"PageDown", Qt::Key_PageDown},
    {"PgDown", Qt::Key_PageDown},
    {"Left", Qt::Key_Left},
    {"Right", Qt::Key_Right},
    {"Up", Qt::Key_Up},
    {"Down", Qt::Key_Down},
    {"Print", Qt::Key_Print},
    {"Pause", Qt::Key_Pause},
    {"Menu", Qt::Key_Menu},
};

constexpr int kFunctionKeys = 35;

bool isFunctionKey(Qt::Key key) {
    return key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeys;
}

std::optional<int> valueNamed(const auto& names, const QString& text) {
    for (const Name& name : names) {
        if (text.compare(QLatin1String(name.text), Qt::CaseInsensitive) == 0) {
            return name.value;
        }
    }
    return std::nullopt;
}

std::optional<Qt::Key> keyNamed(const QString& text) {
    if (text.size() == 1 && text[0].unicode() < 0x80 && text[0].isLetterOrNumber()) {
        return static_cast<Qt::Key>(text[0].toUpper().unicode());
    }
    if (text.size() >= 2 && text[0].toUpper() == QLatin1Char('F')) {
        bool number = false;
        const int n = text.mid(1).toInt(&number);
        if (number && text[1] != QLatin1Char('0') && n >= 1 && n <= kFunctionKeys) {
            return static_cast<Qt::Key>(Qt::Key_F1 + n - 1);
        }
    }
    if (const std::optional<int> key = valueNamed(kNamedKeys, text)) {
        return static_cast<Qt::Key>(*key);
    }
    return std::nullopt;
}

std::optional<QString> keyText(Qt::Key key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return QString(QChar(static_cast<char16_t>(key)));
    }
    if (isFunctionKey(key)) {
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    }
    for (const Name& name : kNamedKeys) {
        if (name.value == key) {
            return QString::fromLatin1(name.text);
        }
    }
    return std::nullopt;
}

QString quoted(const QString& text) {
    return QStringLiteral("\"") + text + QStringLiteral("\"");
}

}  // namespace

ReadKeyCombination readKeyCombination(const QString& text) {
    if (text.trimmed().isEmpty()) {
        return {};
    }
    const QStringList parts = text.split(QLatin1Char('+'));
    KeyCombination keys;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString part = parts[i].trimmed();
        if (part.isEmpty()) {
            return {std::nullopt,
                    quoted(text) + QStringLiteral(" has an empty part between its '+'")};
        }
        if (const std::optional<int> modifier = valueNamed(kModifiers, part)) {
            const auto flag = static_cast<Qt::KeyboardModifier>(*modifier);
            if (keys.modifiers.testFlag(flag)) {
                return {std::nullopt, quoted(part) + QStringLiteral(" is named twice")};
            }
            if (i == parts.size() - 1) {
                return {std::nullopt, quoted(text) + QStringLiteral(" names no key after ") + part};
            }
            keys.modifiers |= flag;
            continue;
        }
        const std::optional<Qt::Key> key = keyNamed(part);
        if (!key) {
            return {std::nullopt,
                    quoted(part) + QStringLiteral(" is neither a modifier nor a key")};
        }
        if (i != parts.size() - 1) {
            return {std::nullopt, quoted(text) + QStringLiteral(" names more than one key")};
        }
        keys.key = *key;
    }
    return checkKeyCombination(keys);
}

ReadKeyCombination checkKeyCombination(KeyCombination keys) {
    keys.modifiers &= Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier;
    const std::optional<QString> name = keyText(keys.key);
    if (!name) {
        return {std::nullopt, QStringLiteral("This key cannot be taken")};
    }
    const bool stillTypes = (keys.modifiers & ~Qt::KeyboardModifiers(Qt::ShiftModifier)) == 0;
    if (stillTypes && !isFunctionKey(keys.key) && keys.key != Qt::Key_Pause &&
        keys.key != Qt::Key_Print) {
        return {std::nullopt,
                keyCombinationText(keys) +
                    QStringLiteral(" would be taken from typing: add Ctrl, Alt or Super")};
    }
    return {keys, {}};
}

QString keyCombinationText(const KeyCombination& keys) {
    QStringList parts;
    for (const Qt::KeyboardModifier modifier :
         {Qt::ControlModifier, Qt::AltModifier, Qt::ShiftModifier, Qt::MetaModifier}) {
        if (keys.modifiers.testFlag(modifier)) {
            for (const Name& name : kModifiers) {
                if (name.value == static_cast<int>(modifier)) {
                    parts << QString::fromLatin1(name.text);
                    break;
                }
            }
        }
    }
    parts << keyText(keys.key).value_or(QStringLiteral("?"));
    return parts.join(QLatin1Char('+'));
}

}  // namespace kwiklet
