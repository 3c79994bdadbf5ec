#pragma once

#include <bit>
#include <cstdint>
#include <type_traits>

// The one place where values become bytes: fixed-width numbers are stored least-significant
// byte first, floats as their IEEE 754 bits, with shifts, never by casting structs.
namespace tkvLittleEndian {

template <typename T>
concept FixedWidth = std::is_integral_v<T> || std::is_same_v<T, float> || std::is_same_v<T, double>;

template <FixedWidth T>
void Encode(T agValue, unsigned char* ouBytes) {
    using Bits = std::make_unsigned_t<std::conditional_t<
        std::is_floating_point_v<T>, std::conditional_t<sizeof(T) == 4, int32_t, int64_t>, T>>;
    const Bits bits = std::bit_cast<Bits>(agValue);
    for (size_t i = 0; i < sizeof(T); ++i) {
        ouBytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    }
}

template <FixedWidth T>
T Decode(const unsigned char* agBytes) {
    using Bits = std::make_unsigned_t<std::conditional_t<
        std::is_floating_point_v<T>, std::conditional_t<sizeof(T) == 4, int32_t, int64_t>, T>>;
    Bits bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i) {
        bits |= static_cast<Bits>(static_cast<Bits>(agBytes[i]) << (8 * i));
    }
    return std::bit_cast<T>(bits);
}

// Booleans are a 16-bit -1 (true) or 0 (false); any other non-zero value reads as true.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

}  // namespace tkvLittleEndian
