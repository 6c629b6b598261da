#pragma once
// A set of enumeration values, held as bits: bit n stands for the value of ordinal n. Sets have at
// most 32 elements; the stream and the property information treat them as 32-bit ordinals.

#include <cstdint>
#include <initializer_list>

template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }
  static constexpr TSet FromBits(uint32_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }

  constexpr uint32_t Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    bits_ &= ~Bit(e);
    return *this;
  }

  friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
  friend constexpr bool operator==(TSet a, TSet b) { return a.bits_ == b.bits_; }
  friend constexpr bool operator!=(TSet a, TSet b) { return a.bits_ != b.bits_; }

 private:
  static constexpr uint32_t Bit(E e) { return uint32_t{1} << static_cast<unsigned>(e); }
  uint32_t bits_ = 0;
};
