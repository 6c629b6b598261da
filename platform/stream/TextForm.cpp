#include "platform/stream/TextForm.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"
#include "platform/stream/TextFormChars.h"

namespace {

// Where a design stream is damaged, said to the clerk (the details stay technical).
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(TextForm)
};

}  // namespace

// Binary to text. The reading direction is in TextFormParser.cpp.

namespace textform {

size_t ScanIdent(std::string_view s, size_t pos) {
  if (pos >= s.size() || !IsIdentStart(s[pos])) return pos;
  for (;;) {
    while (pos < s.size() && IsIdentChar(s[pos])) ++pos;
    if (pos + 1 < s.size() && s[pos] == '.' && IsIdentStart(s[pos + 1])) {
      ++pos;
      continue;
    }
    return pos;
  }
}

bool IsIdent(std::string_view s, bool allowDots) {
  return !s.empty() && ScanIdent(s, 0) == s.size() &&
         (allowDots || s.find('.') == std::string_view::npos);
}

bool IsSpecialFloatWord(std::string_view word) {
  for (std::string_view base : {"NAN", "INF"}) {
    if (word.substr(0, 3) != base) continue;
    std::string_view suffix = word.substr(3);
    if (suffix.empty() || suffix == "s" || suffix == "d") return true;
  }
  return false;
}

size_t Utf8SequenceLength(std::string_view s, size_t pos, char32_t* cp) {
  const Utf8Step step = DecodeUtf8(s.substr(pos));
  if (!step.valid) return 0;
  *cp = step.code;
  return step.length;
}

}  // namespace textform

namespace {

using namespace textform;

// Indentation stops growing below this level: a deeply nested stream must not blow up into a text
// that is mostly spaces. The reader ignores indentation anyway.
constexpr int kMaxIndentLevel = 32;
// The writer breaks longer strings into `'…' +` lines of this many characters.
constexpr size_t kCharsPerStringLine = 64;
constexpr size_t kBytesPerHexLine = 32;

// Replaces every byte that does not start a valid UTF-8 sequence by U+FFFD: the reader refuses
// invalid UTF-8, so the writer must never emit it.
std::string ValidUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    const size_t length = Utf8SequenceLength(s, i, &cp);
    if (length == 0) {
      AppendUtf8(out, 0xFFFD);
      ++i;
    } else {
      out.append(s, i, length);
      i += length;
    }
  }
  return out;
}

// Shortest text that reads back to exactly `value`, always with a '.' or an exponent so that it is
// not taken for an integer.
template <typename Float>
std::string FloatText(Float value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

// vaCurrency holds the value times 10000; print it exactly, in decimal, never through a double.
std::string CurrencyText(int64_t scaled) {
  const uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  std::string text = scaled < 0 ? "-" : "";
  text += std::to_string(magnitude / 10000) + '.';
  std::string fraction = std::to_string(magnitude % 10000 + 10000).substr(1);
  while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
  return text + fraction;
}

// Decodes the ten bytes of an x87 extended float field by field, so that encodings the FPU itself
// would not produce (pseudo-denormals, unnormals, pseudo-NaNs) still give a well-defined value.
long double ExtendedFromBytes(const unsigned char* bytes) {
  uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | bytes[i];
  const unsigned signExponent = bytes[8] | (bytes[9] << 8);
  const int exponent = signExponent & 0x7FFF;
  const bool negative = signExponent & 0x8000;
  long double value;
  if (exponent == 0x7FFF) {
    const bool infinity = mantissa == (uint64_t{1} << 63);
    if (!infinity) return std::numeric_limits<long double>::quiet_NaN();
    value = std::numeric_limits<long double>::infinity();
  } else {
    // Exponent 0 scales like exponent 1; the explicit integer bit is part of the mantissa.
    value = std::ldexp(static_cast<long double>(mantissa), std::max(exponent, 1) - 16383 - 63);
  }
  return negative ? -value : value;
}

class BinaryToText {
 public:
  explicit BinaryToText(std::string_view in) : in_(in) {}
  std::string Convert();

 private:
  [[noreturn]] void Fail(size_t offset, const std::string& what) const {
    throw EReadError(Tr(Texts::tr("Invalid stream format at offset %1: %2"), std::to_string(offset), what));
  }
  void Need(size_t count) const {
    if (in_.size() - pos_ < count) Fail(pos_, "unexpected end of stream");
  }
  uint8_t PeekByte() const {
    Need(1);
    return static_cast<uint8_t>(in_[pos_]);
  }
  uint8_t Byte() {
    const uint8_t b = PeekByte();
    ++pos_;
    return b;
  }
  std::string_view Bytes(size_t count) {
    Need(count);
    const std::string_view bytes = in_.substr(pos_, count);
    pos_ += count;
    return bytes;
  }
  uint64_t Unsigned(size_t size) {
    const std::string_view bytes = Bytes(size);
    uint64_t value = 0;
    for (size_t i = size; i-- > 0;) value = (value << 8) | static_cast<uint8_t>(bytes[i]);
    return value;
  }
  int64_t Signed(size_t size) {
    const uint64_t value = Unsigned(size);
    const uint64_t signBit = uint64_t{1} << (8 * size - 1);
    // A negative value is -(magnitude - 1) - 1, computed so that nothing overflows.
    if (value & signBit) return -static_cast<int64_t>(~value & (signBit - 1)) - 1;
    return static_cast<int64_t>(value);
  }
  std::string_view ShortString() { return Bytes(Byte()); }
  // A 4-byte length followed by that many units; the length is checked against what remains before
  // anything is allocated.
  std::string_view LongBytes(size_t unitSize) {
    const size_t start = pos_;
    const uint64_t count = Unsigned(4);
    if (count > (in_.size() - pos_) / unitSize) Fail(start, "length " + std::to_string(count) + " past the end");
    return Bytes(count * unitSize);
  }
  std::string_view Name(bool allowDots, bool allowEmpty, const char* what);
  int64_t Integer();
  void Indent(int level) { out_.append(2 * static_cast<size_t>(std::min(level, kMaxIndentLevel)), ' '); }
  void Enter(size_t offset) {
    if (++depth_ > kMaxDepth) Fail(offset, "nesting too deep");
  }

  void Signature();
  void Component(int level);
  void Properties(int level);
  void Value(int level);
  void List(int level);
  void Collection(int level);
  void Binary(std::string_view bytes, int level);
  void String(std::string_view utf8, int level);

  std::string_view in_;
  size_t pos_ = 0;
  int depth_ = 0;
  std::string out_;
};

std::string BinaryToText::Convert() {
  if (in_.empty()) Fail(0, "empty stream");
  if (PeekByte() != vaNull) {
    Signature();
    Component(0);
    if (pos_ == in_.size()) return std::move(out_);  // a single block: a layout
    while (PeekByte() != vaNull) {
      Signature();
      Component(0);
    }
  }
  ++pos_;
  if (pos_ != in_.size()) Fail(pos_, "data after the end marker");
  out_ += "end.\n";
  return std::move(out_);
}

void BinaryToText::Signature() {
  if (in_.substr(pos_, sizeof kFilerSignature) != std::string_view(kFilerSignature, sizeof kFilerSignature))
    Fail(pos_, "expected the signature TPF0");
  pos_ += sizeof kFilerSignature;
}

std::string_view BinaryToText::Name(bool allowDots, bool allowEmpty, const char* what) {
  const size_t start = pos_;
  const std::string_view name = ShortString();
  if (!(allowEmpty && name.empty()) && !IsIdent(name, allowDots)) Fail(start, std::string("invalid ") + what);
  return name;
}

int64_t BinaryToText::Integer() {
  const size_t start = pos_;
  switch (Byte()) {
    case vaInt8: return Signed(1);
    case vaInt16: return Signed(2);
    case vaInt32: return Signed(4);
    default: Fail(start, "expected an integer");
  }
}

void BinaryToText::Component(int level) {
  Enter(pos_);
  uint8_t flags = 0;
  if ((PeekByte() & kFilerPrefixMask) == kFilerPrefixMask) flags = Byte() & 0x0F;
  std::string position;
  if (flags & ffChildPos) position = " [" + std::to_string(Integer()) + "]";
  const std::string_view className = Name(false, false, "class name");
  const std::string_view name = Name(false, true, "component name");

  // The text has one keyword for the flags; inline wins over inherited, as they cannot be combined.
  Indent(level);
  out_ += (flags & ffInline) ? "inline " : (flags & ffInherited) ? "inherited " : "object ";
  if (!name.empty()) out_.append(name).append(": ");
  out_.append(className).append(position) += '\n';
  Properties(level + 1);
  while (PeekByte() != vaNull) Component(level + 1);
  ++pos_;
  Indent(level);
  out_ += "end\n";
  --depth_;
}

void BinaryToText::Properties(int level) {
  while (PeekByte() != vaNull) {
    const std::string_view name = Name(true, false, "property name");
    Indent(level);
    out_.append(name) += " = ";
    Value(level);
    out_ += '\n';
  }
  ++pos_;
}

void BinaryToText::Value(int level) {
  const size_t start = pos_;
  const uint8_t type = Byte();
  switch (type) {
    case vaNull: out_ += "Null"; break;
    case vaList: List(level); break;
    case vaInt8: out_ += std::to_string(Signed(1)); break;
    case vaInt16: out_ += std::to_string(Signed(2)); break;
    case vaInt32: out_ += std::to_string(Signed(4)); break;
    case vaInt64: out_ += std::to_string(Signed(8)); break;
    case vaExtended: {
      const std::string_view bytes = Bytes(kExtendedSize);
      out_ += FloatText(ExtendedFromBytes(reinterpret_cast<const unsigned char*>(bytes.data())));
      break;
    }
    case vaSingle: {
      const uint32_t bits = static_cast<uint32_t>(Unsigned(4));
      float value;
      std::memcpy(&value, &bits, sizeof value);
      out_ += FloatText(value) + 's';
      break;
    }
    case vaDate: {
      const uint64_t bits = Unsigned(8);
      double value;
      std::memcpy(&value, &bits, sizeof value);
      out_ += FloatText(value) + 'd';
      break;
    }
    case vaCurrency: out_ += CurrencyText(Signed(8)) + 'c'; break;
    case vaString:
    case vaLString: {
      // Other writers store code-page text here; ours only ever stores ASCII.
      const std::string_view bytes = type == vaString ? ShortString() : LongBytes(1);
      String(IsAscii(bytes) ? std::string(bytes) : ValidUtf8(Cp950ToUtf8(bytes)), level);
      break;
    }
    case vaUTF8String: String(ValidUtf8(LongBytes(1)), level); break;
    case vaWString: {
      const std::string_view bytes = LongBytes(2);
      std::u16string utf16(bytes.size() / 2, u'\0');
      for (size_t i = 0; i < utf16.size(); ++i)
        utf16[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
      String(ValidUtf8(Utf16ToUtf8(utf16)), level);
      break;
    }
    case vaIdent: {
      const std::string_view ident = Name(true, false, "identifier");
      if (IsSpecialFloatWord(ident)) Fail(start, "identifier " + std::string(ident) + " has no text form");
      out_ += ident;
      break;
    }
    case vaFalse: out_ += "False"; break;
    case vaTrue: out_ += "True"; break;
    case vaNil: out_ += "nil"; break;
    case vaBinary: Binary(LongBytes(1), level); break;
    case vaSet: {
      out_ += '[';
      for (bool first = true; PeekByte() != 0; first = false) {
        if (!first) out_ += ", ";
        out_ += Name(false, false, "set element");
      }
      ++pos_;
      out_ += ']';
      break;
    }
    case vaCollection: Collection(level); break;
    default: Fail(start, "unknown value type " + std::to_string(type));
  }
}

void BinaryToText::List(int level) {
  Enter(pos_ - 1);
  out_ += '(';
  while (PeekByte() != vaNull) {
    out_ += '\n';
    Indent(level + 1);
    Value(level + 1);
  }
  ++pos_;
  out_ += ')';
  --depth_;
}

void BinaryToText::Collection(int level) {
  Enter(pos_ - 1);
  out_ += '<';
  while (PeekByte() != vaNull) {
    out_ += '\n';
    Indent(level + 1);
    out_ += "item";
    const uint8_t next = PeekByte();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32) out_ += " [" + std::to_string(Integer()) + "]";
    if (PeekByte() != vaList) Fail(pos_, "expected the start of a collection item");
    ++pos_;
    out_ += '\n';
    Properties(level + 2);
    Indent(level + 1);
    out_ += "end";
  }
  ++pos_;
  out_ += '>';
  --depth_;
}

void BinaryToText::Binary(std::string_view bytes, int level) {
  static const char kHex[] = "0123456789ABCDEF";
  out_ += '{';
  if (bytes.empty()) {
    out_ += '}';
    return;
  }
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % kBytesPerHexLine == 0) {
      out_ += '\n';
      Indent(level + 1);
    }
    const auto b = static_cast<uint8_t>(bytes[i]);
    out_ += kHex[b >> 4];
    out_ += kHex[b & 0xF];
  }
  out_ += '\n';
  Indent(level + 1);
  out_ += '}';
}

// Writes valid UTF-8 as quoted runs: control characters as #nnn outside the quotes, everything else
// as itself; every kCharsPerStringLine characters the string continues with ` +` on the next line.
void BinaryToText::String(std::string_view utf8, int level) {
  if (utf8.empty()) {
    out_ += "''";
    return;
  }
  bool quoted = false;
  size_t count = 0;
  for (size_t i = 0; i < utf8.size();) {
    if (count == kCharsPerStringLine) {
      if (quoted) out_ += '\'';
      quoted = false;
      out_ += " +\n";
      Indent(level + 1);
      count = 0;
    }
    char32_t cp;
    size_t length = Utf8SequenceLength(utf8, i, &cp);
    if (length == 0) {  // callers pass valid UTF-8; stay safe anyway
      cp = 0xFFFD;
      length = 1;
    }
    if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0)) {
      if (quoted) out_ += '\'';
      quoted = false;
      out_ += '#' + std::to_string(static_cast<uint32_t>(cp));
    } else {
      if (!quoted) out_ += '\'';
      quoted = true;
      if (cp == '\'') out_ += "''";
      else if (length == 1 && cp >= 0x80) AppendUtf8(out_, cp);
      else out_.append(utf8, i, length);
    }
    i += length;
    ++count;
  }
  if (quoted) out_ += '\'';
}

}  // namespace

std::string StreamToText(std::string_view binary) { return BinaryToText(binary).Convert(); }
