#include "platform/rtl/Placeholders.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace {

// Walks `text`, calling `literal` for plain text (braces undoubled when `undouble`) and `found` for
// each placeholder.
template <class Literal, class Found>
void Walk(std::string_view text, bool undouble, Literal literal, Found found) {
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if ((c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
      literal(undouble ? text.substr(i, 1) : text.substr(i, 2));
      i += 2;
      continue;
    }
    if (c == '{') {
      const size_t close = text.find_first_of("{}", i + 1);
      if (close != std::string_view::npos && text[close] == '}' && close > i + 1 && text[i + 1] != ':') {
        const std::string_view inside = text.substr(i + 1, close - i - 1);
        const size_t colon = inside.find(':');
        TPlaceholder placeholder;
        placeholder.Name = std::string(inside.substr(0, colon));
        if (colon != std::string_view::npos) placeholder.Format = std::string(inside.substr(colon + 1));
        placeholder.Typed = std::string(text.substr(i, close - i + 1));
        found(placeholder);
        i = close + 1;
        continue;
      }
    }
    literal(text.substr(i, 1));
    ++i;
  }
}

int Decimals(std::string_view format) { return format.size() <= 2 ? 0 : static_cast<int>(format.size() - 2); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// `digits` (one or more decimal digits) plus one in its last place.
void Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

// A plain decimal ("-12.345", "+7", ".5") rounded to `decimals` on its digits; nothing when
// `value` is not one.
std::optional<std::string> RoundDecimal(std::string_view value, int decimals) {
  size_t i = 0;
  std::string sign;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
    if (value[i] == '-') sign = "-";
    ++i;
  }
  std::string whole;
  while (i < value.size() && IsDigit(value[i])) whole += value[i++];
  std::string fraction;
  if (i < value.size() && value[i] == '.') {
    ++i;
    while (i < value.size() && IsDigit(value[i])) fraction += value[i++];
  }
  if (i != value.size() || (whole.empty() && fraction.empty())) return std::nullopt;
  if (whole.empty()) whole = "0";
  const bool up = static_cast<int>(fraction.size()) > decimals && fraction[static_cast<size_t>(decimals)] >= '5';
  fraction.resize(static_cast<size_t>(decimals), '0');
  std::string digits = whole + fraction;
  if (up) Increment(digits);
  whole = digits.substr(0, digits.size() - fraction.size());
  fraction = digits.substr(whole.size());
  // No "-0.00": a value that rounds to zero has no sign.
  if (digits.find_first_not_of('0') == std::string::npos) sign.clear();
  return sign + whole + (decimals > 0 ? "." + fraction : "");
}

}  // namespace

std::vector<TPlaceholder> FindPlaceholders(std::string_view text) {
  std::vector<TPlaceholder> placeholders;
  Walk(
      text, false, [](std::string_view) {}, [&](const TPlaceholder& p) { placeholders.push_back(p); });
  return placeholders;
}

std::string ExpandPlaceholders(std::string_view text,
                               const std::function<std::optional<std::string>(const std::string& name)>& lookup) {
  std::string out;
  out.reserve(text.size());
  Walk(
      text, true, [&](std::string_view part) { out += part; },
      [&](const TPlaceholder& p) {
        const std::optional<std::string> value = lookup(p.Name);
        out += value ? FormatPlaceholderValue(*value, p.Format) : p.Typed;
      });
  return out;
}

bool IsPlaceholderFormat(std::string_view format) {
  if (format.empty() || format == "0") return true;
  if (format.size() < 3 || format.compare(0, 2, "0.") != 0) return false;
  return format.find_first_not_of('0', 2) == std::string_view::npos;
}

std::string FormatPlaceholderValue(const std::string& value, std::string_view format) {
  if (format.empty() || !IsPlaceholderFormat(format)) return value;
  const int decimals = Decimals(format);
  if (std::optional<std::string> rounded = RoundDecimal(value, decimals)) return *rounded;
  // A number with an exponent ("1.5e3"), read without regard to the locale.
  double number = 0;
  const char* end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, number, std::chars_format::scientific);
  if (error != std::errc() || stop != end || !std::isfinite(number)) return value;
  char buffer[64];
  if (std::snprintf(buffer, sizeof buffer, "%.*f", decimals, number) >= static_cast<int>(sizeof buffer)) return value;
  return buffer;
}
