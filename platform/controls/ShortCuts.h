#pragma once
// Keyboard shortcuts of menu items and actions.
//
// A shortcut is a 16-bit number: the virtual key code in the low byte and the modifier flags
// scShift, scCtrl and scAlt above it; 0 is none. Streams store it as that integer (Ctrl+N is
// 16462). Its text names the modifiers in the order Shift, Ctrl, Alt, each followed by "+", and
// then the key: "Ctrl+N", "Shift+Del", "F5".

#include <cstdint>
#include <string>
#include <string_view>

#include <QKeySequence>

#include "platform/controls/Control.h"

using TShortCut = uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// The shortcut of a virtual key with modifiers; 0 for a key code above 255.
TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Ctrl+N"; empty for 0 and for a key that has no name.
std::string ShortCutToText(TShortCut shortCut);
// Reads the text form back, ignoring case and blanks around the parts; 0 when it names no key.
TShortCut TextToShortCut(std::string_view text);

// The Qt key sequence of a shortcut; empty when the key has no Qt counterpart.
QKeySequence ShortCutToKeySequence(TShortCut shortCut);
// The shortcut a Qt key press with these modifiers gives; 0 when the key has no virtual key code.
TShortCut ShortCutFromQtKey(int key, Qt::KeyboardModifiers modifiers);
