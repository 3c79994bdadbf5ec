#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <stdexcept>

#include "KPXDecideFileName.h"
#include "KPXDecideFileSize.h"
#include "KPXSepaCtrl.h"
#include "KPXSepaData.h"
#include "tkvCancelMng.h"

namespace {

class KPXDecideFileSizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        decide_.SetSepaMode(1);
        decide_.SetSepaData(job_);
    }
    // The decided data sizes, or the one registered number as the only element.
    std::vector<int64_t> Decided() {
        std::vector<int64_t> sizes;
        if (!decide_.Decide()) {
            const auto errors = decide_.ErrorMng();
            sizes.push_back(errors->Count() == 1 ? -errors->Number(0) : 0);
            return sizes;
        }
        for (int32_t i = 0; i < job_->DividoraCount(); ++i) {
            sizes.push_back(job_->DividoraData(i)->FileSize());
        }
        return sizes;
    }
    void BySize(int64_t agFileSize, int32_t agPieceSize) {
        decide_.SetHowToSeparate(KPXDecideFileSize::kBySize);
        decide_.SetFileSize(agFileSize);
        decide_.SetFileSizeToSeparate(agPieceSize);
    }
    void ByCount(int64_t agFileSize, int32_t agCount) {
        decide_.SetHowToSeparate(KPXDecideFileSize::kByCount);
        decide_.SetFileSize(agFileSize);
        decide_.SetFileCountToSeparate(agCount);
    }

    std::shared_ptr<KPXSepaData> job_ = std::make_shared<KPXSepaData>();
    KPXDecideFileSize decide_;
};

using Sizes = std::vector<int64_t>;

TEST_F(KPXDecideFileSizeTest, BySizeAllButTheLastCarryTheDataSize) {
    BySize(10000, 3000);
    EXPECT_EQ(Decided(), (Sizes{3000, 3000, 3000, 1000}));
    BySize(9000, 3000);
    EXPECT_EQ(Decided(), (Sizes{3000, 3000, 3000})) << "no empty fourth piece";
    BySize(100, 3000);
    EXPECT_EQ(Decided(), (Sizes{100}));
}

TEST_F(KPXDecideFileSizeTest, ByCountTheRemainderGoesOneByteEachToTheFirstPieces) {
    ByCount(10, 3);
    EXPECT_EQ(Decided(), (Sizes{4, 3, 3}));
    ByCount(3, 5);
    EXPECT_EQ(Decided(), (Sizes{1, 1, 1, 0, 0}));
}

TEST_F(KPXDecideFileSizeTest, TheHeaderIsTakenOffThePieceSize) {
    auto sepaCtrl = std::make_shared<KPXSepaCtrl>();
    sepaCtrl->SetSepaData(job_);
    job_->SetFileAddress("/data/a.bin");  // a header of 140 bytes
    decide_.SetIncludeSizeOfHeader(true);
    decide_.SetSepaCtrl(sepaCtrl);
    BySize(1000, 640);
    EXPECT_EQ(Decided(), (Sizes{500, 500}));
    BySize(1000, 140);
    EXPECT_EQ(Decided(), (Sizes{-1005}));

    // A header that cannot be sized: no number of its own, the control holds the cause.
    job_->SetFileAddress("/data/a😀.bin");
    BySize(1000, 640);
    EXPECT_FALSE(decide_.Decide());
    EXPECT_EQ(decide_.ErrorMng()->Count(), 0);
    EXPECT_EQ(decide_.ErrorMng()->Reference(), sepaCtrl);
    EXPECT_EQ(sepaCtrl->ErrorMng()->Number(0), 2002);

    decide_.SetSepaCtrl(nullptr);
    EXPECT_EQ(Decided(), (Sizes{-1006}));
}

TEST_F(KPXDecideFileSizeTest, BadInputsRegisterTheirNumber) {
    BySize(0, 3000);
    EXPECT_EQ(Decided(), (Sizes{-1001}));
    BySize(10, 0);
    EXPECT_EQ(Decided(), (Sizes{-1002}));
    ByCount(-1, 3);
    EXPECT_EQ(Decided(), (Sizes{-1001}));
    ByCount(10, 0);
    EXPECT_EQ(Decided(), (Sizes{-1101}));
    EXPECT_EQ(decide_.ErrorMng()->Description(1101),
              "ﾌｧｲﾙの分割数が適切な値(0より上)ではありません。");
    EXPECT_EQ(decide_.ErrorMng()->Description(9999), "該当するｴﾗｰ番号が存在しません。");
}

TEST_F(KPXDecideFileSizeTest, ThePieceLimitIsInclusiveAndLeavesTheJobUntouched) {
    decide_.SetUpperCountToWarn(1000);
    ByCount(5000, 1000);
    EXPECT_EQ(Decided().size(), 1000u);
    job_->Initialize(2);
    BySize(1001, 1);
    EXPECT_EQ(Decided(), (Sizes{-1003}));
    EXPECT_EQ(job_->DividoraCount(), 2);
    ByCount(5000, 1001);
    EXPECT_EQ(Decided(), (Sizes{-1003}));
}

// The user learns how many pieces the input makes and where the limit is changed.
TEST_F(KPXDecideFileSizeTest, TooManyPiecesTellsTheCountTheLimitAndWhereItIsSet) {
    decide_.SetUpperCountToWarn(1000);
    BySize(1001, 1);
    EXPECT_EQ(Decided(), (Sizes{-1003}));
    EXPECT_EQ(decide_.ErrorMng()->Description(1003),
              "警告する分割数の上限を超える分割数が算出されました。 (分割数 1001、上限 1000。"
              "上限は「設定」の「環境」にある「警告する分割数の上限」で変更できます。)");
    decide_.SetUpperCountToWarn(7);
    ByCount(5000, 12);
    EXPECT_EQ(Decided(), (Sizes{-1003}));
    EXPECT_EQ(decide_.ErrorMng()->Description(1003).find(" (分割数 12、上限 7。"),
              std::string("警告する分割数の上限を超える分割数が算出されました。").size());
    EXPECT_EQ(decide_.ErrorMng()->Description(1101),
              "ﾌｧｲﾙの分割数が適切な値(0より上)ではありません。");
    // The other numbers carry no detail.
    ByCount(10, 0);
    EXPECT_EQ(Decided(), (Sizes{-1101}));
    EXPECT_EQ(decide_.ErrorMng()->Description(1003),
              "警告する分割数の上限を超える分割数が算出されました。");
}

TEST_F(KPXDecideFileSizeTest, APieceCanCarryAtMost2GiBMinusOneOfData) {
    decide_.SetUpperCountToWarn(10);
    ByCount(int64_t{2147483647} * 2, 2);
    EXPECT_EQ(Decided(), (Sizes{2147483647, 2147483647}));
    ByCount(int64_t{2147483647} * 2 + 1, 2);
    EXPECT_EQ(Decided(), (Sizes{-1007}));
    EXPECT_EQ(decide_.ErrorMng()->Description(1007),
              "1つの分割ﾌｧｲﾙのﾃﾞｰﾀｻｲｽﾞが上限(2147483647ﾊﾞｲﾄ)を超えます。");
    BySize(int64_t{5} << 30, 2147483647);
    EXPECT_EQ(Decided(), (Sizes{2147483647, 2147483647, 1073741826}))
        << "a 5 GiB source by the largest piece size";
}

TEST_F(KPXDecideFileSizeTest, NothingHappensOutsideItsModesAndACancelStops) {
    decide_.SetSepaMode(0);
    ByCount(10, 3);
    EXPECT_FALSE(decide_.Decide());
    EXPECT_EQ(decide_.ErrorMng()->Count(), 0);
    decide_.SetSepaMode(1);
    decide_.SetHowToSeparate(3);
    EXPECT_FALSE(decide_.Decide());
    EXPECT_EQ(decide_.ErrorMng()->Count(), 0);

    auto cancel = std::make_shared<tkvCancelMng>();
    cancel->Cancel();
    decide_.SetCancelMng(cancel);
    ByCount(10, 3);
    EXPECT_FALSE(decide_.Decide());
    EXPECT_EQ(decide_.ErrorMng()->Count(), 0) << "a cancel is no error";
    job_->SetCancelMng(cancel);
    EXPECT_EQ(Decided(), (Sizes{-1004})) << "a cancel while the records are made";
    EXPECT_EQ(decide_.ErrorMng()->Reference(), job_);
}

class KPXDecideFileNameTest : public ::testing::Test {
protected:
    std::vector<std::string> Names(int32_t agCount, int32_t agHowToName,
                                   const std::string& agFolder = "/out") {
        job_->Initialize(agCount);
        decide_.SetSepaData(job_);
        decide_.SetBaseFileAddress(agFolder);
        decide_.SetBaseFileName("data");
        decide_.SetHowToName(agHowToName);
        std::vector<std::string> names;
        if (decide_.Decide()) {
            for (int32_t i = 0; i < job_->DividoraCount(); ++i) {
                names.push_back(job_->DividoraData(i)->FileAddress());
            }
        }
        return names;
    }

    std::shared_ptr<KPXSepaData> job_ = std::make_shared<KPXSepaData>();
    KPXDecideFileName decide_;
};

TEST_F(KPXDecideFileNameTest, RunningNumbersPlainAndPadded) {
    EXPECT_EQ(Names(3, 2),
              (std::vector<std::string>{"/out/data1.KPX", "/out/data2.KPX", "/out/data3.KPX"}));
    const auto eleven = Names(11, 3, "/out/");
    EXPECT_EQ(eleven.front(), "/out/data01.KPX");
    EXPECT_EQ(eleven.back(), "/out/data11.KPX");
    EXPECT_EQ(Names(9, 3).back(), "/out/data9.KPX");
    EXPECT_EQ(Names(100, 3)[0], "/out/data001.KPX");
    EXPECT_EQ(decide_.ErrorMng(), nullptr);
}

TEST_F(KPXDecideFileNameTest, RandomSuffixesAreFourUpperHexDigitsAndUnique) {
    const auto names = Names(500, 1);
    ASSERT_EQ(names.size(), 500u);
    const std::regex form("/out/data[0-7][0-9A-F]{3}\\.KPX");
    for (const auto& name : names) {
        EXPECT_TRUE(std::regex_match(name, form)) << name;
    }
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 500u);
    EXPECT_EQ(Names(32768, 1).size(), 32768u) << "every suffix once";
    // What the tool takes for a drawn suffix when it looks for names a draw may hit.
    for (const auto& name : names) {
        EXPECT_TRUE(KPXDecideFileName::IsRandomSuffix(name.substr(name.size() - 8, 4))) << name;
    }
    for (const char* other : {"8000", "7fff", "7FF", "07FFF", "G000", "12 4"}) {
        EXPECT_FALSE(KPXDecideFileName::IsRandomSuffix(other)) << other;
    }
}

TEST_F(KPXDecideFileNameTest, UnknownModesAndTooManyRandomPiecesAnswerFalseAtOnce) {
    for (int32_t mode : {0, 4}) {
        EXPECT_TRUE(Names(3, mode).empty());
        EXPECT_EQ(job_->DividoraData(0)->FileAddress(), "");
    }
    EXPECT_TRUE(Names(32769, 1).empty());
    EXPECT_EQ(job_->DividoraData(0)->FileAddress(), "");
}

TEST_F(KPXDecideFileNameTest, AMissingJobIsAFailureOfTheCall) {
    EXPECT_THROW(decide_.Decide(), std::invalid_argument);
    auto cancel = std::make_shared<tkvCancelMng>();
    cancel->Cancel();
    job_->SetCancelMng(cancel);
    job_->Initialize(3);  // cancelled: only the first record exists
    decide_.SetSepaData(job_);
    decide_.SetHowToName(2);
    EXPECT_THROW(decide_.Decide(), std::logic_error);
}

}  // namespace
