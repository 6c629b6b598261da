#include "platform/stream/TextForm.h"

#include <locale.h>
#include <stdlib.h>

#include <cerrno>
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

// Where a text form is damaged, said to the clerk (the details stay technical).
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(TextForm)
};

}  // namespace

// Text to binary: a lexer and a recursive-descent parser that writes the stream as it goes.

namespace {

using namespace textform;

// Float conversions run in the "C" locale: the application object switches the process to the
// user's locale, whose decimal separator may be a comma.
locale_t CLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return locale;
}

enum class TokenKind { kEnd, kIdent, kInteger, kFloat, kString, kBinary, kSymbol };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  size_t line = 1;
  std::string text;  // identifier, string value, binary bytes, or float literal without its suffix
  int64_t integer = 0;
  char symbol = 0;  // the symbol, or for a float its kind: 0 (extended), 's', 'c' or 'd'
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }
  Token Next();

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw ETextFormError(Tr(Texts::tr("Line %1: %2"), std::to_string(line_), what), static_cast<int>(line_), what);
  }
  bool AtEnd() const { return pos_ >= text_.size(); }
  // The character `ahead` places on, or '\0' past the end (check AtEnd where a NUL byte matters).
  char Peek(size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }
  void SkipBlanks();
  void Number(Token& token);
  void String(Token& token);
  char32_t CharCode();
  void Binary(Token& token);

  std::string_view text_;
  size_t pos_ = 0;
  size_t line_ = 1;
};

void Lexer::SkipBlanks() {
  while (!AtEnd()) {
    const char c = Peek();
    if (c == '\n') {
      ++line_;
      ++pos_;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++pos_;
    } else if (c == '/' && Peek(1) == '/') {
      while (!AtEnd() && Peek() != '\n') ++pos_;
    } else {
      break;
    }
  }
}

Token Lexer::Next() {
  SkipBlanks();
  Token token;
  token.line = line_;
  if (AtEnd()) return token;
  const char c = Peek();
  const size_t start = pos_;
  if (IsIdentStart(c)) {
    pos_ = ScanIdent(text_, pos_);
    token.kind = TokenKind::kIdent;
    token.text = text_.substr(start, pos_ - start);
  } else if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(Peek(1)) || Peek(1) == '$' || IsIdentStart(Peek(1))))) {
    Number(token);
  } else if (c == '\'' || c == '#') {
    String(token);
  } else if (c == '{') {
    Binary(token);
  } else if (c != '\0' && std::strchr("=:[](),<>+.", c) != nullptr) {
    ++pos_;
    token.kind = TokenKind::kSymbol;
    token.symbol = c;
  } else {
    const auto byte = static_cast<unsigned char>(c);
    Fail(byte > 0x20 && byte < 0x7F ? std::string("unexpected character '") + c + "'"
                                    : "unexpected character #" + std::to_string(byte));
  }
  return token;
}

void Lexer::Number(Token& token) {
  const size_t start = pos_;
  const bool negative = Peek() == '-';
  if (negative) ++pos_;
  if (IsIdentStart(Peek())) {  // -INF, -INFs, -INFd
    const size_t wordStart = pos_;
    pos_ = ScanIdent(text_, pos_);
    const std::string_view word = text_.substr(wordStart, pos_ - wordStart);
    if (!IsSpecialFloatWord(word) || word[0] != 'I') Fail("invalid number");
    token.kind = TokenKind::kFloat;
    token.text = "-INF";
    token.symbol = word.size() > 3 ? word[3] : 0;
    return;
  }

  uint64_t magnitude = 0;
  if (Peek() == '$') {
    ++pos_;
    if (HexValue(Peek()) < 0) Fail("invalid number");
    for (int digit; (digit = HexValue(Peek())) >= 0; ++pos_) {
      if (magnitude > std::numeric_limits<uint64_t>::max() >> 4) Fail("number out of range");
      magnitude = (magnitude << 4) | static_cast<uint64_t>(digit);
    }
  } else {
    bool isFloat = false, overflow = false;
    for (; IsDigit(Peek()); ++pos_) {
      const auto digit = static_cast<uint64_t>(Peek() - '0');
      if (magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10) overflow = true;
      magnitude = magnitude * 10 + digit;
    }
    if (Peek() == '.' && IsDigit(Peek(1))) {
      isFloat = true;
      for (++pos_; IsDigit(Peek()); ++pos_) {}
    }
    const char sign = Peek(1);
    if ((Peek() == 'e' || Peek() == 'E') && (IsDigit(sign) || ((sign == '+' || sign == '-') && IsDigit(Peek(2))))) {
      isFloat = true;
      for (pos_ += 2; IsDigit(Peek()); ++pos_) {}
    }
    const size_t literalEnd = pos_;
    const char suffix = static_cast<char>(Peek() | 0x20);
    if ((suffix == 's' || suffix == 'c' || suffix == 'd') && !IsIdentChar(Peek(1))) {
      isFloat = true;
      token.symbol = suffix;
      ++pos_;
    }
    if (isFloat) {
      if (IsIdentChar(Peek()) || Peek() == '.') Fail("invalid number");
      token.kind = TokenKind::kFloat;
      token.text = text_.substr(start, literalEnd - start);
      return;
    }
    if (overflow) Fail("number out of range");
  }
  if (IsIdentChar(Peek()) || Peek() == '.') Fail("invalid number");
  const uint64_t limit = uint64_t{std::numeric_limits<int64_t>::max()} + (negative ? 1 : 0);
  if (magnitude > limit) Fail("number out of range");
  token.kind = TokenKind::kInteger;
  token.integer = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
}

// A string is a run of quoted parts and #nnn character codes with nothing between them.
void Lexer::String(Token& token) {
  token.kind = TokenKind::kString;
  std::string& value = token.text;
  char32_t highSurrogate = 0;
  for (;;) {
    if (!AtEnd() && Peek() == '\'') {
      if (highSurrogate) Fail("unpaired surrogate in string");
      for (++pos_;;) {
        if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("unterminated string");
        const char c = Peek();
        if (c == '\'') {
          if (Peek(1) != '\'') {
            ++pos_;
            break;
          }
          pos_ += 2;
          value += '\'';
        } else if (static_cast<unsigned char>(c) >= 0x80) {
          char32_t cp;
          const size_t length = Utf8SequenceLength(text_, pos_, &cp);
          if (length == 0) Fail("invalid UTF-8 in string");
          value.append(text_, pos_, length);
          pos_ += length;
        } else {
          value += c;
          ++pos_;
        }
      }
    } else if (!AtEnd() && Peek() == '#') {
      ++pos_;
      char32_t code = CharCode();
      if (code >= 0xD800 && code <= 0xDBFF) {
        if (highSurrogate) Fail("unpaired surrogate in string");
        highSurrogate = code;
        continue;
      }
      if (code >= 0xDC00 && code <= 0xDFFF) {
        if (!highSurrogate) Fail("unpaired surrogate in string");
        code = 0x10000 + ((highSurrogate - 0xD800) << 10) + (code - 0xDC00);
        highSurrogate = 0;
      } else if (highSurrogate) {
        Fail("unpaired surrogate in string");
      }
      AppendUtf8(value, code);
    } else {
      break;
    }
  }
  if (highSurrogate) Fail("unpaired surrogate in string");
}

// The code after '#': decimal, or hexadecimal after '$'; any Unicode code point.
char32_t Lexer::CharCode() {
  const bool hex = Peek() == '$';
  if (hex) ++pos_;
  const unsigned base = hex ? 16 : 10;
  char32_t code = 0;
  const size_t start = pos_;
  for (int digit; !AtEnd() && (digit = HexValue(Peek())) >= 0 && static_cast<unsigned>(digit) < base; ++pos_) {
    code = code * base + static_cast<char32_t>(digit);
    if (code > 0x10FFFF) Fail("invalid character code");
  }
  if (pos_ == start) Fail("invalid character code");
  return code;
}

void Lexer::Binary(Token& token) {
  token.kind = TokenKind::kBinary;
  for (++pos_;;) {
    if (AtEnd()) Fail("unterminated binary data");
    const char c = Peek();
    if (c == '}') {
      ++pos_;
      return;
    }
    if (c == '\n') ++line_;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++pos_;
      continue;
    }
    const int high = HexValue(c), low = HexValue(Peek(1));
    if (high < 0 || low < 0) Fail("invalid hexadecimal data");
    token.text += static_cast<char>(high * 16 + low);
    pos_ += 2;
  }
}

class TextToBinary {
 public:
  explicit TextToBinary(std::string_view text) : lexer_(text) {}
  std::string Convert();

 private:
  [[noreturn]] void Fail(size_t line, const std::string& what) const {
    throw ETextFormError(Tr(Texts::tr("Line %1: %2"), std::to_string(line), what), static_cast<int>(line), what);
  }
  [[noreturn]] void Expected(const std::string& what) const;
  void Advance() { token_ = lexer_.Next(); }
  Token PeekNext() const { return Lexer(lexer_).Next(); }
  bool IsSymbol(char c) const { return token_.kind == TokenKind::kSymbol && token_.symbol == c; }
  bool IsWord(const char* word) const { return token_.kind == TokenKind::kIdent && SameText(token_.text, word); }
  // A keyword only counts where it is not a property name, that is, not followed by '='.
  bool IsKeyword(const char* word) const {
    if (!IsWord(word)) return false;
    const Token next = PeekNext();
    return !(next.kind == TokenKind::kSymbol && next.symbol == '=');
  }
  bool AtObject() const { return IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline"); }
  void Enter() {
    if (++depth_ > kMaxDepth) Fail(token_.line, "nesting too deep");
  }
  void ExpectSymbol(char c);
  std::string Name(bool allowDots, const char* what);
  int64_t Index();

  void Component();
  void Properties();
  void Value(bool inList);
  void List();
  void Collection();
  void Set();
  void Float();
  void Integer(int64_t value);
  void ShortString(std::string_view s) { (out_ += static_cast<char>(s.size())) += s; }
  void Length(size_t length);

  Lexer lexer_;
  Token token_;
  int depth_ = 0;
  std::string out_;
};

void TextToBinary::Expected(const std::string& what) const {
  std::string found;
  switch (token_.kind) {
    case TokenKind::kEnd: found = "end of text"; break;
    case TokenKind::kIdent: found = "'" + token_.text.substr(0, 40) + "'"; break;
    case TokenKind::kInteger:
    case TokenKind::kFloat: found = "a number"; break;
    case TokenKind::kString: found = "a string"; break;
    case TokenKind::kBinary: found = "binary data"; break;
    case TokenKind::kSymbol: found = std::string("'") + token_.symbol + "'"; break;
  }
  Fail(token_.line, "expected " + what + " but found " + found);
}

void TextToBinary::ExpectSymbol(char c) {
  if (!IsSymbol(c)) Expected(std::string("'") + c + "'");
  Advance();
}

std::string TextToBinary::Convert() {
  Advance();
  int objects = 0;
  for (; AtObject(); ++objects) {
    out_.append(kFilerSignature, sizeof kFilerSignature);
    Component();
  }
  const bool designEnd = IsWord("end");
  if (designEnd) {
    Advance();
    ExpectSymbol('.');
  }
  if (token_.kind != TokenKind::kEnd) Expected(designEnd ? "end of text" : "'object' or 'end.'");
  if (designEnd || objects != 1) out_ += static_cast<char>(vaNull);
  return std::move(out_);
}

std::string TextToBinary::Name(bool allowDots, const char* what) {
  if (token_.kind != TokenKind::kIdent || (!allowDots && token_.text.find('.') != std::string::npos)) Expected(what);
  if (token_.text.size() > 255) Fail(token_.line, std::string(what) + " too long");
  std::string name = std::move(token_.text);
  Advance();
  return name;
}

// An item index or child position: a 32-bit integer in brackets.
int64_t TextToBinary::Index() {
  Advance();
  if (token_.kind != TokenKind::kInteger) Expected("an integer");
  const int64_t value = token_.integer;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    Fail(token_.line, "number out of range");
  Advance();
  ExpectSymbol(']');
  return value;
}

void TextToBinary::Component() {
  const size_t line = token_.line;
  Enter();
  uint8_t flags = IsWord("inherited") ? ffInherited : IsWord("inline") ? ffInline : 0;
  Advance();
  std::string name, className;
  if (IsSymbol(':')) {
    Advance();
    className = Name(false, "a class name");
  } else {
    className = Name(false, "a component name");
    if (IsSymbol(':')) {
      Advance();
      name = std::move(className);
      className = Name(false, "a class name");
    }
  }
  int64_t position = 0;
  if (IsSymbol('[')) {
    position = Index();
    flags |= ffChildPos;
  }
  if (flags != 0) {
    out_ += static_cast<char>(kFilerPrefixMask | flags);
    if (flags & ffChildPos) Integer(position);
  } else if (className.size() > kMaxPlainClassName) {
    Fail(line, "class name too long");
  }
  ShortString(className);
  ShortString(name);
  Properties();
  while (AtObject()) Component();
  if (!IsWord("end")) Expected("'end'");
  Advance();
  out_ += static_cast<char>(vaNull);
  --depth_;
}

// Property entries up to the next child object or `end`, followed by their end marker.
void TextToBinary::Properties() {
  while (token_.kind == TokenKind::kIdent && !IsKeyword("end") && !AtObject()) {
    ShortString(Name(true, "a property name"));
    ExpectSymbol('=');
    Value(false);
  }
  out_ += static_cast<char>(vaNull);
}

void TextToBinary::Value(bool inList) {
  switch (token_.kind) {
    case TokenKind::kInteger:
      Integer(token_.integer);
      Advance();
      return;
    case TokenKind::kFloat:
      Float();
      Advance();
      return;
    case TokenKind::kString: {
      std::string text = std::move(token_.text);
      for (Advance(); IsSymbol('+'); Advance()) {
        Advance();
        if (token_.kind != TokenKind::kString) Expected("a string");
        text += token_.text;
      }
      if (!IsAscii(text)) {
        out_ += static_cast<char>(vaUTF8String);
        Length(text.size());
      } else if (text.size() <= 255) {
        out_ += static_cast<char>(vaString);
        out_ += static_cast<char>(text.size());
      } else {
        out_ += static_cast<char>(vaLString);
        Length(text.size());
      }
      out_ += text;
      return;
    }
    case TokenKind::kBinary:
      out_ += static_cast<char>(vaBinary);
      Length(token_.text.size());
      out_ += token_.text;
      Advance();
      return;
    case TokenKind::kIdent: {
      if (IsSpecialFloatWord(token_.text)) {
        token_.symbol = token_.text.size() > 3 ? token_.text[3] : 0;
        token_.text.resize(3);
        Float();
      } else if (SameText(token_.text, "False")) {
        out_ += static_cast<char>(vaFalse);
      } else if (SameText(token_.text, "True")) {
        out_ += static_cast<char>(vaTrue);
      } else if (SameText(token_.text, "nil")) {
        out_ += static_cast<char>(vaNil);
      } else if (SameText(token_.text, "Null")) {
        // vaNull ends a list, so a list cannot hold it.
        if (inList) Expected("a list item");
        out_ += static_cast<char>(vaNull);
      } else {
        out_ += static_cast<char>(vaIdent);
        ShortString(Name(true, "an identifier"));
        return;
      }
      Advance();
      return;
    }
    case TokenKind::kSymbol:
      if (token_.symbol == '(') return List();
      if (token_.symbol == '[') return Set();
      if (token_.symbol == '<') return Collection();
      break;
    case TokenKind::kEnd: break;
  }
  Expected("a value");
}

void TextToBinary::List() {
  Enter();
  out_ += static_cast<char>(vaList);
  for (Advance(); !IsSymbol(')');) Value(true);
  Advance();
  out_ += static_cast<char>(vaNull);
  --depth_;
}

void TextToBinary::Set() {
  out_ += static_cast<char>(vaSet);
  Advance();
  if (!IsSymbol(']')) {
    ShortString(Name(false, "a set element"));
    while (IsSymbol(',')) {
      Advance();
      ShortString(Name(false, "a set element"));
    }
  }
  ExpectSymbol(']');
  out_ += static_cast<char>(vaNull);
}

void TextToBinary::Collection() {
  Enter();
  out_ += static_cast<char>(vaCollection);
  for (Advance(); IsWord("item");) {
    Advance();
    if (IsSymbol('[')) Integer(Index());
    out_ += static_cast<char>(vaList);
    Properties();
    if (!IsWord("end")) Expected("'end'");
    Advance();
  }
  ExpectSymbol('>');
  out_ += static_cast<char>(vaNull);
  --depth_;
}

void TextToBinary::Integer(int64_t value) {
  size_t size;
  if (value >= INT8_MIN && value <= INT8_MAX) {
    out_ += static_cast<char>(vaInt8), size = 1;
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    out_ += static_cast<char>(vaInt16), size = 2;
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    out_ += static_cast<char>(vaInt32), size = 4;
  } else {
    out_ += static_cast<char>(vaInt64), size = 8;
  }
  const auto bits = static_cast<uint64_t>(value);
  for (size_t i = 0; i < size; ++i) out_ += static_cast<char>(bits >> (8 * i));
}

void TextToBinary::Length(size_t length) {
  if (length > std::numeric_limits<uint32_t>::max()) Fail(token_.line, "value too long");
  for (int i = 0; i < 4; ++i) out_ += static_cast<char>(length >> (8 * i));
}

void TextToBinary::Float() {
  const std::string& text = token_.text;
  const bool special = text == "NAN" || text == "INF" || text == "-INF";
  const auto appendBits = [this](const void* value, size_t size) {
    out_.append(static_cast<const char*>(value), size);  // x86-64 is little-endian, like the stream
  };
  const auto outOfRange = [this] { Fail(token_.line, "number out of range"); };

  switch (token_.symbol) {
    case 0: {
      long double value;
      if (special) {
        value = text == "NAN" ? std::numeric_limits<long double>::quiet_NaN()
                              : std::numeric_limits<long double>::infinity() * (text[0] == '-' ? -1 : 1);
      } else {
        // from_chars refuses denormals for long double, so use the C library in the C locale.
        errno = 0;
        value = strtold_l(text.c_str(), nullptr, CLocale());
        if (errno == ERANGE && (std::isinf(value) || value == 0)) outOfRange();
      }
      out_ += static_cast<char>(vaExtended);
      unsigned char bytes[sizeof(long double)] = {};
      std::memcpy(bytes, &value, sizeof value);
      appendBits(bytes, kExtendedSize);
      return;
    }
    case 's':
    case 'd': {
      const bool single = token_.symbol == 's';
      double value = 0;
      float singleValue = 0;
      if (special) {
        value = text == "NAN" ? std::numeric_limits<double>::quiet_NaN()
                              : std::numeric_limits<double>::infinity() * (text[0] == '-' ? -1 : 1);
        singleValue = static_cast<float>(value);
      } else {
        const char* end = text.data() + text.size();
        const auto result = single ? std::from_chars(text.data(), end, singleValue) : std::from_chars(text.data(), end, value);
        if (result.ec != std::errc() || result.ptr != end) outOfRange();
      }
      out_ += static_cast<char>(single ? vaSingle : vaDate);
      if (single) appendBits(&singleValue, sizeof singleValue);
      else appendBits(&value, sizeof value);
      return;
    }
    case 'c': {
      // Exact decimal arithmetic for up to four decimals; anything else goes through long double.
      const bool negative = text[0] == '-';
      const size_t digits = negative ? 1 : 0, dot = text.find('.');
      const size_t decimals = dot == std::string::npos ? 0 : text.size() - dot - 1;
      uint64_t magnitude = 0;
      if (text.find_first_of("eE") == std::string::npos && decimals <= 4) {
        for (size_t i = digits; i < text.size(); ++i) {
          if (text[i] == '.') continue;
          const auto digit = static_cast<uint64_t>(text[i] - '0');
          if (magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10) outOfRange();
          magnitude = magnitude * 10 + digit;
        }
        for (size_t i = decimals; i < 4; ++i) {
          if (magnitude > std::numeric_limits<uint64_t>::max() / 10) outOfRange();
          magnitude *= 10;
        }
      } else {
        const long double scaled = std::round(std::fabs(strtold_l(text.c_str(), nullptr, CLocale())) * 10000);
        if (!(scaled <= 0x1p63L)) outOfRange();
        magnitude = static_cast<uint64_t>(scaled);
      }
      if (magnitude > uint64_t{std::numeric_limits<int64_t>::max()} + (negative ? 1 : 0)) outOfRange();
      const uint64_t bits = negative ? 0 - magnitude : magnitude;
      out_ += static_cast<char>(vaCurrency);
      for (int i = 0; i < 8; ++i) out_ += static_cast<char>(bits >> (8 * i));
      return;
    }
  }
}

}  // namespace

std::string TextToStream(std::string_view text) { return TextToBinary(text).Convert(); }
