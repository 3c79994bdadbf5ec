#include "VersionFiles.h"

#include <gtest/gtest.h>

#include <cmath>

#include "TestFiles.h"
#include "tkvDateTime.h"
#include "tkvLittleEndian.h"

std::string DateBytes(double agDate) {
    unsigned char bytes[8];
    tkvLittleEndian::Encode(agDate, bytes);
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string VersionFile::Bytes() const {
    return LongBytes(static_cast<int32_t>(Magic.size())) + Magic +
           LongBytes(static_cast<int32_t>(Product.size())) + Product + LongBytes(Major) +
           LongBytes(Minor) + LongBytes(Revision) + DateBytes(UpdatedTime);
}

double DateOf(int32_t agYear, int32_t agMonth, int32_t agDay, int32_t agHour, int32_t agMinute,
              int32_t agSecond) {
    double date = NAN;
    EXPECT_TRUE(tkvDateTime::FromParts({agYear, agMonth, agDay, agHour, agMinute, agSecond}, date));
    return date;
}
