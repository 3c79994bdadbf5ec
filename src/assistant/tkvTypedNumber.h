#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Numbers typed into the window's boxes, read the one way the window and the assistant share.
namespace tkvTypedNumber {

// The platform's reading of a typed number: the forms its user's locale writes numbers in.
// Answers false for a text that is not a number there.
using PlatformReader = std::function<bool(const std::string& agText, double& ouValue)>;

// The window installs its platform's reading at start. Without one (the command-line tool) a
// number is read in the plain C form: decimal, with an optional sign, a fraction after a point
// and an exponent. An empty reader restores the plain form.
void SetPlatformReader(PlatformReader agReader);

// Blanks around the number are allowed; false for anything that is not a number, for an empty
// box, and for what does not fit a double (no infinity, no NaN, no hexadecimal).
bool Parse(const std::string& agText, double& ouValue);

// Rounds to the nearest 32-bit integer, a half to the even neighbour; false for a value that
// does not fit.
bool RoundToLong(double agValue, int32_t& ouValue);

// A count typed as a number above 0 that rounds to 1 or more and fits 32 bits.
bool ParseCount(const std::string& agText, int32_t& ouCount);

}  // namespace tkvTypedNumber
