#include "tkvTypedNumber.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace tkvTypedNumber {

namespace {

PlatformReader& CurrentReader() {
    static PlatformReader reader;
    return reader;
}

bool ParsePlain(const std::string& agText, double& ouValue) {
    const size_t first = agText.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return false;
    }
    const std::string text = agText.substr(first, agText.find_last_not_of(" \t") - first + 1);
    if (text.find_first_not_of("0123456789+-.eE") != std::string::npos) {
        return false;  // no hexadecimal, infinity or other forms strtod would take
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE) {
        return false;
    }
    ouValue = value;
    return true;
}

}  // namespace

void SetPlatformReader(PlatformReader agReader) { CurrentReader() = std::move(agReader); }

bool Parse(const std::string& agText, double& ouValue) {
    double value = 0;
    const PlatformReader& reader = CurrentReader();
    if (!(reader ? reader(agText, value) : ParsePlain(agText, value)) || !std::isfinite(value)) {
        return false;
    }
    ouValue = value;
    return true;
}

bool RoundToLong(double agValue, int32_t& ouValue) {
    const double rounded = std::nearbyint(agValue);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        return false;
    }
    ouValue = static_cast<int32_t>(rounded);
    return true;
}

bool ParseCount(const std::string& agText, int32_t& ouCount) {
    double value = 0;
    int32_t count = 0;
    if (!Parse(agText, value) || !(value > 0) || !RoundToLong(value, count) || count < 1) {
        return false;
    }
    ouCount = count;
    return true;
}

}  // namespace tkvTypedNumber
