#pragma once

#include <cstdint>
#include <string>

// The bytes of a version file as the maker's server publishes it.
struct VersionFile {
    std::string Magic = "Tarno.K.V. Version File";
    std::string Product = "Tarno.K.V. Dividora";
    int32_t Major = 1;
    int32_t Minor = 2;
    int32_t Revision = 3;
    double UpdatedTime = 38418.0;  // 2005-03-07

    std::string Bytes() const;
};

// The little-endian bytes of a date.
std::string DateBytes(double agDate);

// The date of the given parts; fails the running test when they have no calendar form.
double DateOf(int32_t agYear, int32_t agMonth, int32_t agDay, int32_t agHour = 0,
              int32_t agMinute = 0, int32_t agSecond = 0);
