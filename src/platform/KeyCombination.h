#pragma once

// A key combination the program may take from every other program: the modifier keys
// held while one key is pressed, written as the user reads it ("Ctrl+Alt+Space").

#include <QString>
#include <Qt>

#include <optional>

namespace kwiklet {

struct KeyCombination {
    // Of Ctrl, Alt, Shift and Meta, which stands for the Super (logo) key.
    Qt::KeyboardModifiers modifiers;
    Qt::Key key = Qt::Key_unknown;
    bool operator==(const KeyCombination& other) const {
        return modifiers == other.modifiers && key == other.key;
    }
};

// What reading a combination gives: the combination; or none, with what is wrong with
// it in `problem`, or with no problem for empty text, which stands for no combination.
struct ReadKeyCombination {
    std::optional<KeyCombination> keys;
    QString problem;
};

// Reads text such as "ctrl + alt + space": modifiers (Ctrl or Control, Alt, Shift, Super
// or Meta) in any order and letter case, joined by '+', then one key (a letter, a digit,
// F1 to F35, or a named key such as Space, Home or PageUp).
ReadKeyCombination readKeyCombination(const QString& text);
// The combination if a program may take it for itself: its key is one the text can
// name, and a key that types or moves has a modifier other than Shift with it, so that
// taking it does not take it from typing.
ReadKeyCombination checkKeyCombination(KeyCombination keys);
// The canonical text: the modifiers in the order Ctrl, Alt, Shift, Super, then the key.
QString keyCombinationText(const KeyCombination& keys);

}  // namespace kwiklet
