// Conversion tables generated from the Windows conversions by tools/gen_codepages.cpp.
#pragma once
#include <array>
#include <cstdint>

namespace kavlo {
extern const std::array<uint8_t, 256> kOem437To1252;
extern const std::array<uint8_t, 256> kOem850To1252;
extern const std::array<uint8_t, 256> kOem865To1252;
extern const std::array<uint16_t, 256> kOem437ToUnicode;
extern const std::array<uint16_t, 256> kOem850ToUnicode;
extern const std::array<uint16_t, 256> kOem865ToUnicode;
extern const std::array<uint16_t, 256> k1252ToUnicode;
}  // namespace kavlo
