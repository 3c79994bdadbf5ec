#pragma once

#include <cstdint>
#include <string>

// Numbers typed into the window's boxes, read the one way the window and the assistant share.
namespace tkvTypedNumber {

// Decimal, with an optional sign, fraction and exponent, blanks around it allowed; false for
// anything else (hexadecimal, infinity, an empty box) and for what does not fit a double.
bool Parse(const std::string& agText, double& ouValue);

// Rounds to the nearest 32-bit integer, a half to the even neighbour; false for a value that
// does not fit.
bool RoundToLong(double agValue, int32_t& ouValue);

// A count typed as a number above 0 that rounds to 1 or more and fits 32 bits.
bool ParseCount(const std::string& agText, int32_t& ouCount);

}  // namespace tkvTypedNumber
