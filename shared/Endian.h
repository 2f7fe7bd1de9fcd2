#pragma once

#include <QByteArray>

#include <bit>
#include <cstdint>
#include <cstring>

// Reading and writing integers and floating-point numbers of a fixed byte order, byte by byte,
// for every stored or transmitted layout. The caller checks that the bytes are there.
namespace endian {

template <typename T>
inline T ReadLE(const uint8_t* p) {
  static_assert(std::is_unsigned_v<T>);
  T value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(T{p[i]} << (8 * i));
  return value;
}

template <typename T>
inline T ReadBE(const uint8_t* p) {
  static_assert(std::is_unsigned_v<T>);
  T value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) value = static_cast<T>((value << 8) | p[i]);
  return value;
}

template <typename T>
inline void WriteLE(uint8_t* p, T value) {
  static_assert(std::is_unsigned_v<T>);
  for (size_t i = 0; i < sizeof(T); ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

template <typename T>
inline void WriteBE(uint8_t* p, T value) {
  static_assert(std::is_unsigned_v<T>);
  for (size_t i = 0; i < sizeof(T); ++i) p[sizeof(T) - 1 - i] = static_cast<uint8_t>(value >> (8 * i));
}

inline int16_t ReadInt16LE(const uint8_t* p) { return static_cast<int16_t>(ReadLE<uint16_t>(p)); }
inline int32_t ReadInt32LE(const uint8_t* p) { return static_cast<int32_t>(ReadLE<uint32_t>(p)); }
inline int16_t ReadInt16BE(const uint8_t* p) { return static_cast<int16_t>(ReadBE<uint16_t>(p)); }
inline int32_t ReadInt32BE(const uint8_t* p) { return static_cast<int32_t>(ReadBE<uint32_t>(p)); }
inline void WriteInt16LE(uint8_t* p, int16_t v) { WriteLE<uint16_t>(p, static_cast<uint16_t>(v)); }
inline void WriteInt32LE(uint8_t* p, int32_t v) { WriteLE<uint32_t>(p, static_cast<uint32_t>(v)); }
inline void WriteInt16BE(uint8_t* p, int16_t v) { WriteBE<uint16_t>(p, static_cast<uint16_t>(v)); }
inline void WriteInt32BE(uint8_t* p, int32_t v) { WriteBE<uint32_t>(p, static_cast<uint32_t>(v)); }

inline float ReadFloatBE(const uint8_t* p) { return std::bit_cast<float>(ReadBE<uint32_t>(p)); }
inline double ReadDoubleBE(const uint8_t* p) { return std::bit_cast<double>(ReadBE<uint64_t>(p)); }
inline void WriteFloatBE(uint8_t* p, float v) { WriteBE<uint32_t>(p, std::bit_cast<uint32_t>(v)); }
inline void WriteDoubleBE(uint8_t* p, double v) { WriteBE<uint64_t>(p, std::bit_cast<uint64_t>(v)); }

// Appending forms for building a byte stream.
template <typename T>
inline void AppendLE(QByteArray* out, T value) {
  uint8_t bytes[sizeof(T)];
  WriteLE(bytes, value);
  out->append(reinterpret_cast<const char*>(bytes), sizeof(T));
}

template <typename T>
inline void AppendBE(QByteArray* out, T value) {
  uint8_t bytes[sizeof(T)];
  WriteBE(bytes, value);
  out->append(reinterpret_cast<const char*>(bytes), sizeof(T));
}

inline const uint8_t* Bytes(const QByteArray& data) {
  return reinterpret_cast<const uint8_t*>(data.constData());
}
inline uint8_t* Bytes(QByteArray& data) { return reinterpret_cast<uint8_t*>(data.data()); }

}  // namespace endian
