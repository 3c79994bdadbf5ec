#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "tkvTypedNumber.h"

namespace {

std::optional<double> Read(const std::string& agText) {
    double value = 0;
    return tkvTypedNumber::Parse(agText, value) ? std::optional<double>(value) : std::nullopt;
}

class tkvTypedNumberTest : public ::testing::Test {
protected:
    void TearDown() override { tkvTypedNumber::SetPlatformReader({}); }
};

// The tool reads the plain C form, the same under every locale; the window reads its
// platform's forms, counts included.
TEST_F(tkvTypedNumberTest, APlatformReaderReplacesTheCFormUntilItIsCleared) {
    EXPECT_EQ(Read(" 2.5 "), 2.5);
    EXPECT_EQ(Read("2,5"), std::nullopt);
    tkvTypedNumber::SetPlatformReader([](const std::string& agText, double& ouValue) {
        ouValue = 2.5;
        return agText == "2,5";
    });
    EXPECT_EQ(Read("2,5"), 2.5);
    EXPECT_EQ(Read("2.5"), std::nullopt);
    int32_t count = 0;
    EXPECT_TRUE(tkvTypedNumber::ParseCount("2,5", count));
    EXPECT_EQ(count, 2);

    tkvTypedNumber::SetPlatformReader({});
    EXPECT_EQ(Read("2.5"), 2.5);
    EXPECT_EQ(Read("2,5"), std::nullopt);
}

// What no box can hold is not a number, whoever read it.
TEST_F(tkvTypedNumberTest, AnInfiniteOrUndefinedReadingIsRefused) {
    double given = 0;
    tkvTypedNumber::SetPlatformReader([&given](const std::string&, double& ouValue) {
        ouValue = given;
        return true;
    });
    for (const double value : {HUGE_VAL, -HUGE_VAL, std::nan("")}) {
        given = value;
        EXPECT_EQ(Read("x"), std::nullopt) << value;
    }
}

}  // namespace
