#include "platform/controls/ShortCuts.h"

#include <cctype>

namespace {

struct NamedKey {
  uint16_t Key;
  const char* Name;
  Qt::Key QtKey;
};

// Keys other than letters, digits and function keys.
const NamedKey kNamedKeys[] = {
    {VK_BACK, "BkSp", Qt::Key_Backspace}, {VK_TAB, "Tab", Qt::Key_Tab},
    {VK_RETURN, "Enter", Qt::Key_Return}, {VK_ESCAPE, "Esc", Qt::Key_Escape},
    {VK_SPACE, "Space", Qt::Key_Space},   {VK_PRIOR, "PgUp", Qt::Key_PageUp},
    {VK_NEXT, "PgDn", Qt::Key_PageDown},  {VK_END, "End", Qt::Key_End},
    {VK_HOME, "Home", Qt::Key_Home},      {VK_LEFT, "Left", Qt::Key_Left},
    {VK_UP, "Up", Qt::Key_Up},            {VK_RIGHT, "Right", Qt::Key_Right},
    {VK_DOWN, "Down", Qt::Key_Down},      {VK_INSERT, "Ins", Qt::Key_Insert},
    {VK_DELETE, "Del", Qt::Key_Delete},
};

bool IsLetterOrDigit(uint16_t key) { return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'); }

std::string KeyName(uint16_t key) {
  if (IsLetterOrDigit(key)) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
  for (const NamedKey& k : kNamedKeys)
    if (k.Key == key) return k.Name;
  return {};
}

std::string Upper(std::string_view text) {
  std::string upper;
  for (char ch : text) upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
  return upper;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

uint16_t KeyFromName(std::string_view name) {
  std::string upper = Upper(Trim(name));
  if (upper.size() == 1 && IsLetterOrDigit(static_cast<uint16_t>(upper[0]))) return static_cast<uint16_t>(upper[0]);
  if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F') {
    int number = 0;
    for (size_t i = 1; i < upper.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(upper[i]))) return 0;
      number = number * 10 + (upper[i] - '0');
    }
    return number >= 1 && number <= 12 ? static_cast<uint16_t>(VK_F1 + number - 1) : 0;
  }
  for (const NamedKey& k : kNamedKeys)
    if (Upper(k.Name) == upper) return k.Key;
  return 0;
}

}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  if (key > 0xFF) return 0;
  TShortCut result = key;
  if (shift.Contains(ssShift)) result |= scShift;
  if (shift.Contains(ssCtrl)) result |= scCtrl;
  if (shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = {};
  if (shortCut & scShift) shift.Include(ssShift);
  if (shortCut & scCtrl) shift.Include(ssCtrl);
  if (shortCut & scAlt) shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortCut) {
  std::string name = KeyName(shortCut & 0xFF);
  if (name.empty()) return {};
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + name;
}

TShortCut TextToShortCut(std::string_view text) {
  TShortCut modifiers = 0;
  // Modifiers come first, each ended by "+"; what follows the last "+" is the key ("Ctrl++" does
  // not occur: the plus key has no name).
  for (size_t plus; (plus = text.find('+')) != std::string_view::npos;) {
    std::string part = Upper(Trim(text.substr(0, plus)));
    if (part == "SHIFT") modifiers |= scShift;
    else if (part == "CTRL") modifiers |= scCtrl;
    else if (part == "ALT") modifiers |= scAlt;
    else return 0;
    text.remove_prefix(plus + 1);
  }
  uint16_t key = KeyFromName(text);
  return key ? static_cast<TShortCut>(key | modifiers) : 0;
}

QKeySequence ShortCutToKeySequence(TShortCut shortCut) {
  uint16_t key = shortCut & 0xFF;
  int qtKey = 0;
  if (IsLetterOrDigit(key)) qtKey = key;  // Qt's letter and digit keys are their ASCII codes too
  else if (key >= VK_F1 && key <= VK_F12) qtKey = Qt::Key_F1 + (key - VK_F1);
  else
    for (const NamedKey& k : kNamedKeys)
      if (k.Key == key) qtKey = k.QtKey;
  if (!qtKey) return {};
  Qt::KeyboardModifiers modifiers;
  if (shortCut & scShift) modifiers |= Qt::ShiftModifier;
  if (shortCut & scCtrl) modifiers |= Qt::ControlModifier;
  if (shortCut & scAlt) modifiers |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(qtKey)));
}

TShortCut ShortCutFromQtKey(int key, Qt::KeyboardModifiers modifiers) {
  uint16_t vk = 0;
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) vk = static_cast<uint16_t>(key);
  else if (key >= Qt::Key_F1 && key <= Qt::Key_F12) vk = static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
  else if (key == Qt::Key_Enter) vk = VK_RETURN;
  else if (key == Qt::Key_Backtab) vk = VK_TAB;
  else
    for (const NamedKey& k : kNamedKeys)
      if (k.QtKey == key) vk = k.Key;
  if (!vk) return 0;
  TShiftState shift;
  if (modifiers & Qt::ShiftModifier) shift.Include(ssShift);
  if (modifiers & Qt::ControlModifier) shift.Include(ssCtrl);
  if (modifiers & Qt::AltModifier) shift.Include(ssAlt);
  return ShortCut(vk, shift);
}
