#pragma once
// Placeholders in a text that is printed once per row of data: "{name}" stands for a value of the
// row, "{name:0.00}" for a number with that many decimals (the format is "0" or "0." followed by
// zeros). "{{" and "}}" write a brace. A "{" that no "}" closes, or that encloses no name, is text.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TPlaceholder {
  std::string Name;
  std::string Format;  // after the first ':'; empty when none
  std::string Typed;   // as it stands in the text, braces included
};

// The placeholders of `text`, in order.
std::vector<TPlaceholder> FindPlaceholders(std::string_view text);

// `text` with every placeholder replaced by the value `lookup` gives for its name, formatted; a
// placeholder `lookup` gives nothing for stays as typed. Doubled braces become single ones.
std::string ExpandPlaceholders(std::string_view text,
                               const std::function<std::optional<std::string>(const std::string& name)>& lookup);

// Whether `format` is one a placeholder may have: none, "0", "0.0", "0.00" ...
bool IsPlaceholderFormat(std::string_view format);

// `value` formatted by `format`: a number with the format's decimals (rounded half away from zero,
// on its decimal digits), anything else as it is.
std::string FormatPlaceholderValue(const std::string& value, std::string_view format);
