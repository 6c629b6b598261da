#pragma once
// The value types of the binary component stream. Every value in a stream is one of these type
// bytes followed by its data; all numbers are little-endian.

#include <cstdint>

enum TValueType : uint8_t {
  vaNull = 0,         // no data; also the end-of-list marker
  vaList = 1,         // values until a vaNull
  vaInt8 = 2,         // 1 byte, signed
  vaInt16 = 3,        // 2 bytes, signed
  vaInt32 = 4,        // 4 bytes, signed
  vaExtended = 5,     // 10 bytes, x87 80-bit extended float
  vaString = 6,       // length byte + bytes
  vaIdent = 7,        // length byte + identifier
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,      // 4-byte length + bytes
  vaSet = 11,         // short strings naming the members, ended by an empty one
  vaLString = 12,     // 4-byte length + bytes
  vaNil = 13,
  vaCollection = 14,  // items until vaNull: [integer index] vaList properties vaNull
  vaSingle = 15,      // 4-byte IEEE float
  vaCurrency = 16,    // 8-byte signed integer, value x 10000
  vaDate = 17,        // 8-byte double, days since 1899-12-30
  vaWString = 18,     // 4-byte count of UTF-16 code units + 2 x count bytes
  vaInt64 = 19,       // 8 bytes, signed
  vaUTF8String = 20,  // 4-byte length + UTF-8 bytes
};
constexpr uint8_t kLastValueType = vaUTF8String;

// The signature that opens every component block.
constexpr char kFilerSignature[4] = {'T', 'P', 'F', '0'};

// Filer flags: a component record that has any of them starts with the byte 0xF0 | flags.
enum TFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };
constexpr uint8_t kFilerPrefixMask = 0xF0;
