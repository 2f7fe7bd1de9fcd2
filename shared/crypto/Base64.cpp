#include "shared/crypto/Base64.h"

#include <array>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPad = '=';
constexpr int8_t kNotBase64 = -1;

constexpr std::array<int8_t, 256> MakeValues() {
  std::array<int8_t, 256> values{};
  values.fill(kNotBase64);
  for (int i = 0; i < 64; ++i) values[static_cast<uint8_t>(kAlphabet[i])] = static_cast<int8_t>(i);
  return values;
}

constexpr std::array<int8_t, 256> kValues = MakeValues();

int ValueOf(char c) { return kValues[static_cast<uint8_t>(c)]; }

bool IsTextCharacter(char c) { return c == kPad || ValueOf(c) != kNotBase64; }

}  // namespace

qsizetype Base64EncodedLength(qsizetype n) { return n <= 0 ? 0 : 4 * ((n + 2) / 3); }

qsizetype Base64DecodedLength(QByteArrayView text) {
  qsizetype length = text.size() / 4 * 3;
  if (text.endsWith("==")) {
    length -= 2;
  } else if (text.endsWith(kPad)) {
    length -= 1;
  }
  return length < 0 ? 0 : length;
}

void Base64EncodeGroup(const uint8_t* in, int count, char* out) {
  if (count < 1 || count > 3) return;
  const uint32_t b0 = in[0];
  const uint32_t b1 = count > 1 ? in[1] : 0;
  const uint32_t b2 = count > 2 ? in[2] : 0;
  const uint32_t bits = (b0 << 16) | (b1 << 8) | b2;
  out[0] = kAlphabet[(bits >> 18) & 0x3F];
  out[1] = kAlphabet[(bits >> 12) & 0x3F];
  out[2] = count > 1 ? kAlphabet[(bits >> 6) & 0x3F] : kPad;
  out[3] = count > 2 ? kAlphabet[bits & 0x3F] : kPad;
}

int Base64DecodeGroup(const char* in, uint8_t* out) {
  const int count = in[3] != kPad ? 3 : in[2] != kPad ? 2 : 1;
  std::array<int, 4> values{};
  for (int i = 0; i < count + 1; ++i) {
    values[static_cast<size_t>(i)] = ValueOf(in[i]);
    if (values[static_cast<size_t>(i)] == kNotBase64) return 0;
  }
  const uint32_t bits = (static_cast<uint32_t>(values[0]) << 18) |
                        (static_cast<uint32_t>(values[1]) << 12) |
                        (static_cast<uint32_t>(values[2]) << 6) | static_cast<uint32_t>(values[3]);
  out[0] = static_cast<uint8_t>(bits >> 16);
  if (count > 1) out[1] = static_cast<uint8_t>(bits >> 8);
  if (count > 2) out[2] = static_cast<uint8_t>(bits);
  return count;
}

QByteArray Base64Encode(QByteArrayView data) {
  QByteArray text(Base64EncodedLength(data.size()), '\0');
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  char* out = text.data();
  for (qsizetype offset = 0; offset < data.size(); offset += 3, out += 4) {
    const qsizetype left = data.size() - offset;
    Base64EncodeGroup(bytes + offset, left < 3 ? static_cast<int>(left) : 3, out);
  }
  return text;
}

QByteArray Base64Decode(QByteArrayView text) {
  QByteArray bytes;
  bytes.reserve(text.size() / 4 * 3);
  std::array<char, 4> group{};
  size_t gathered = 0;
  for (const char c : text) {
    if (!IsTextCharacter(c)) continue;
    group[gathered++] = c;
    if (gathered < group.size()) continue;
    gathered = 0;
    std::array<uint8_t, 3> decoded{};
    const int count = Base64DecodeGroup(group.data(), decoded.data());
    if (count == 0) break;
    bytes.append(reinterpret_cast<const char*>(decoded.data()), count);
  }
  return bytes;
}
