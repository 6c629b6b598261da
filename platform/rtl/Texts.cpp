#include "platform/rtl/Texts.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

constexpr char32_t kReplacementChar = 0xFFFD;
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

}  // namespace

Utf8Step DecodeUtf8(std::string_view text) {
  const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byteAt(0);
  if (lead < 0x80) return {lead, 1, true};

  size_t length;
  char32_t code;
  unsigned char low = 0x80, high = 0xBF;  // the range allowed for the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
  } else {
    return {};
  }

  for (size_t i = 1; i < length; ++i) {
    if (i >= text.size()) return {0, i, false};
    const unsigned char b = byteAt(i);
    if (b < low || b > high) return {0, i, false};
    code = (code << 6) | (b & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return {code, length, true};
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

namespace {

// An iconv descriptor owned by one thread. Opening a descriptor costs far more than a short
// conversion, and a descriptor must not be shared between threads, hence one per thread and
// direction. A descriptor that cannot be opened (the code page is not installed) stays invalid.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

const Converter& ToCp950() {
  thread_local const Converter converter("CP950", "UTF-8");
  return converter;
}

const Converter& FromCp950() {
  thread_local const Converter converter("UTF-8", "CP950");
  return converter;
}

// What to do with input iconv refuses: append a replacement and skip some bytes.
struct Repair {
  std::string_view replacement;
  size_t skip;  // at least 1, so that every conversion ends
};

// Converts `in` through `cd`. Wherever iconv stops at input it cannot convert, `repair` decides
// what to write and how far to skip, and the conversion resumes behind it. `growth` is the largest
// number of output bytes one input byte can produce, used to size the output up front.
template <typename RepairFn>
std::string Convert(iconv_t cd, std::string_view in, size_t growth, RepairFn repair) {
  std::string out(in.size() * growth + 4, '\0');
  size_t used = 0;
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // forget the state of an earlier conversion
  while (inLeft > 0) {
    char* outPtr = out.data() + used;
    size_t outLeft = out.size() - used;
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    used = static_cast<size_t>(outPtr - out.data());
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ and EINVAL (a sequence cut off by the end) are repaired alike; any other error
    // would repeat forever, so it is repaired too.
    const Repair fix = repair(std::string_view(inPtr, inLeft));
    out.resize(used);
    out += fix.replacement;
    used = out.size();
    inPtr += fix.skip;
    inLeft -= fix.skip;
    out.resize(used + inLeft * growth + 4);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(used);
  return out;
}

Repair RepairUtf8(std::string_view rest) { return {"?", DecodeUtf8(rest).length}; }

bool IsBig5Lead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// A lead byte swallows the byte behind it only when that byte is no ASCII character, so a broken
// pair never costs the text a letter, digit or line end.
Repair RepairBig5(std::string_view rest) {
  const auto lead = static_cast<unsigned char>(rest[0]);
  const bool pair =
      IsBig5Lead(lead) && rest.size() > 1 && static_cast<unsigned char>(rest[1]) >= 0x80;
  return {kUtf8Replacement, pair ? size_t{2} : size_t{1}};
}

}  // namespace

std::string Utf8ToCp950(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  if (ToCp950().valid()) return Convert(ToCp950().get(), utf8, 1, RepairUtf8);

  // Without the code page every non-ASCII character is one the code page lacks.
  std::string out;
  while (!utf8.empty()) {
    const Utf8Step step = DecodeUtf8(utf8);
    out += step.valid && step.code < 0x80 ? static_cast<char>(step.code) : '?';
    utf8.remove_prefix(step.length);
  }
  return out;
}

std::string Cp950ToUtf8(std::string_view cp950) {
  if (IsAscii(cp950)) return std::string(cp950);
  if (FromCp950().valid()) return Convert(FromCp950().get(), cp950, 3, RepairBig5);

  std::string out;
  while (!cp950.empty()) {
    const Repair fix = static_cast<unsigned char>(cp950[0]) < 0x80 ? Repair{cp950.substr(0, 1), 1}
                                                                     : RepairBig5(cp950);
    out += fix.replacement;
    cp950.remove_prefix(fix.skip);
  }
  return out;
}

bool IsAscii(std::string_view text) {
  // Eight bytes at a time: every caption and name of a design passes through here.
  const char* p = text.data();
  size_t left = text.size();
  uint64_t high = 0;
  for (; left >= 8; p += 8, left -= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    high |= word;
  }
  for (; left > 0; ++p, --left) high |= static_cast<unsigned char>(*p);
  return (high & 0x8080808080808080ull) == 0;
}

bool IsUtf8(std::string_view text) {
  while (!text.empty()) {
    const Utf8Step step = DecodeUtf8(text);
    if (!step.valid) return false;
    text.remove_prefix(step.length);
  }
  return true;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const Utf8Step step = DecodeUtf8(utf8);
    const char32_t code = step.valid ? step.code : kReplacementChar;
    if (code < 0x10000) {
      out += static_cast<char16_t>(code);
    } else {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
    utf8.remove_prefix(step.length);
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t code = utf16[i];
    if (code >= 0xD800 && code <= 0xDFFF) {
      const bool paired = code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
                          utf16[i + 1] <= 0xDFFF;
      if (paired) {
        code = 0x10000 + ((code - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
        ++i;
      } else {
        code = kReplacementChar;
      }
    }
    AppendUtf8(out, code);
  }
  return out;
}

namespace {

char UpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperChar(c);
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerChar(c);
  return out;
}

namespace {
// The eight bytes of `word` with a..z made upper case, as UpperChar does each: bytes from 0x80 on
// are left alone, as are all others outside a..z.
uint64_t UpperWord(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighBits = 0x8080808080808080ull;
  const uint64_t low7 = word & ~kHighBits;
  const uint64_t atLeastA = low7 + kOnes * (0x80 - 'a');  // high bit set where the byte >= 'a'
  const uint64_t aboveZ = low7 + kOnes * (0x80 - 'z' - 1);  // ... where it is > 'z'
  const uint64_t lower = atLeastA & ~aboveZ & ~word & kHighBits;
  return word - (lower >> 2);  // 0x80 >> 2 is the 0x20 between the cases
}

uint64_t Mix(uint64_t h) {
  h ^= h >> 32;
  h *= 0x9E3779B97F4A7C15ull;
  h ^= h >> 29;
  return h;
}
}  // namespace

uint64_t HashText(std::string_view text) {
  // Eight upper-cased bytes at a time (names are mostly one or two words), then a final mix so
  // that the low bits, which tables use as the index, depend on every byte.
  uint64_t h = 0x243F6A8885A308D3ull ^ text.size();
  const char* p = text.data();
  size_t left = text.size();
  for (; left >= 8; p += 8, left -= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    h = (h ^ UpperWord(word)) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 31;
  }
  if (left > 0) {
    // The last bytes, gathered in at most three loads: copying them into a word on the stack
    // byte by byte and loading that made the processor wait for the stores.
    uint64_t word = 0;
    unsigned shift = 0;
    if (left & 4) {
      uint32_t four;
      std::memcpy(&four, p, 4);
      word = four;
      p += 4;
      shift = 32;
    }
    if (left & 2) {
      uint16_t two;
      std::memcpy(&two, p, 2);
      word |= uint64_t{two} << shift;
      p += 2;
      shift += 16;
    }
    if (left & 1) word |= uint64_t{static_cast<unsigned char>(*p)} << shift;
    h = (h ^ UpperWord(word)) * 0xFF51AFD7ED558CCDull;
  }
  return Mix(h);
}

std::string QuotedText(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      static const char kHex[] = "0123456789ABCDEF";
      quoted += "\\x";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 15];
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // Names are compared far more often than ordered: eight upper-cased bytes at a time.
  const char* pa = a.data();
  const char* pb = b.data();
  size_t left = a.size();
  for (; left >= 8; pa += 8, pb += 8, left -= 8) {
    uint64_t wa, wb;
    std::memcpy(&wa, pa, 8);
    std::memcpy(&wb, pb, 8);
    if (wa != wb && UpperWord(wa) != UpperWord(wb)) return false;
  }
  for (; left > 0; ++pa, ++pb, --left)
    if (*pa != *pb && UpperChar(*pa) != UpperChar(*pb)) return false;
  return true;
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(UpperChar(a[i]));
    const auto cb = static_cast<unsigned char>(UpperChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}
