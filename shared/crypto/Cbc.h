#pragma once

#include <cstddef>
#include <cstdint>

// AES-128 in CBC mode over whole 16-byte blocks, the key expanded at each call. `length` must be a
// multiple of 16: any other length is refused (false) and nothing is written. `in` and `out` hold
// `length` bytes and may be the same buffer; the IV is not changed.
bool CbcEncrypt(const uint8_t* key, const uint8_t* iv, const uint8_t* in, uint8_t* out,
                size_t length);
bool CbcDecrypt(const uint8_t* key, const uint8_t* iv, const uint8_t* in, uint8_t* out,
                size_t length);
