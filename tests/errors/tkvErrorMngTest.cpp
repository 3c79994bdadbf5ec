#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <stdexcept>

#include "tkvErrorMng.h"

namespace {

enum class OwnerError : int32_t { kFirst = 1001, kThird = 1003 };

const char* OwnerText(OwnerError agNumber) {
    switch (agNumber) {
        case OwnerError::kFirst:
            return "first";
        case OwnerError::kThird:
            return "third";
    }
    return nullptr;
}

// A minimal owner: answers from OwnerText, links to another owner.
class Owner : public tkvIError {
public:
    Owner()
        : registry_(std::make_shared<tkvErrorMng>([](int32_t agNumber, std::string& ouText) {
              ouText = tkvErrorMng::TextOf(&OwnerText, agNumber);
          })) {}
    std::shared_ptr<tkvErrorMng> ErrorMng() const override { return registry_; }
    std::string ClassName() const override { return "Owner"; }

private:
    std::shared_ptr<tkvErrorMng> registry_;
};

TEST(tkvErrorMngTest, NewRegistryIsEmptyAndRefusesAnyPosition) {
    tkvErrorMng registry;
    EXPECT_EQ(registry.Count(), 0);
    EXPECT_EQ(registry.Reference(), nullptr);
    EXPECT_THROW(registry.Number(0), std::out_of_range);
    EXPECT_THROW(registry.Number(-1), std::out_of_range);
    EXPECT_EQ(registry.Description(1001), "") << "no handler connected";
}

TEST(tkvErrorMngTest, KeepsRepeatedNumbersInOrderAndResetClearsAll) {
    Owner owner;
    auto registry = owner.ErrorMng();
    registry->Register(1003);
    registry->Register(1001);
    registry->Register(1003);
    ASSERT_EQ(registry->Count(), 3);
    EXPECT_EQ(registry->Number(0), 1003);
    EXPECT_EQ(registry->Number(1), 1001);
    EXPECT_EQ(registry->Number(2), 1003);
    EXPECT_THROW(registry->Number(3), std::out_of_range);

    registry->SetReference(std::make_shared<Owner>());
    registry->Reset();
    EXPECT_EQ(registry->Count(), 0);
    EXPECT_EQ(registry->Reference(), nullptr);
}

TEST(tkvErrorMngTest, DescriptionComesFromTheOwnersTableWithTheDefaultForUnknownNumbers) {
    Owner owner;
    EXPECT_EQ(owner.ErrorMng()->Description(1003), "third");
    EXPECT_EQ(owner.ErrorMng()->Description(9999), "該当するｴﾗｰ番号が存在しません。");
}

TEST(tkvErrorMngTest, ReferenceKeepsTheFailedComponentAliveUntilReplaced) {
    Owner outer;
    std::weak_ptr<Owner> watched;
    {
        auto inner = std::make_shared<Owner>();
        inner->ErrorMng()->Register(1001);
        watched = inner;
        outer.ErrorMng()->SetReference(inner);
    }
    ASSERT_FALSE(watched.expired());
    EXPECT_EQ(outer.ErrorMng()->Reference()->ErrorMng()->Description(1001), "first");
    outer.ErrorMng()->SetReference(nullptr);
    EXPECT_TRUE(watched.expired());
}

TEST(tkvErrorMngTest, RegistryOutlivesItsOwnerAndStillDescribes) {
    std::shared_ptr<tkvErrorMng> registry;
    {
        Owner owner;
        registry = owner.ErrorMng();
        registry->Register(1001);
    }
    EXPECT_EQ(registry->Description(registry->Number(0)), "first");
}

}  // namespace
