#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "KPXSepaData.h"
#include "KPXSepaResult.h"
#include "tkvCancelMng.h"
#include "tkvEventPump.h"

namespace {

TEST(KPXSepaDataTest, InitializeWithNoPiecesLeavesNoRecords) {
    KPXSepaData data;
    EXPECT_EQ(data.ErrorMng(), nullptr) << "no registry before the first Initialize";
    for (int32_t count : {0, -3}) {
        EXPECT_TRUE(data.Initialize(count));
        EXPECT_EQ(data.DividoraCount(), 0);
        EXPECT_THROW(data.DividoraData(0), std::out_of_range);
    }
    EXPECT_NE(data.ErrorMng(), nullptr);
    EXPECT_EQ(data.ErrorMng()->Description(1), "該当するｴﾗｰ番号が存在しません。");
}

TEST(KPXSepaDataTest, InitializeAgainGivesFreshEmptyRecords) {
    KPXSepaData data;
    ASSERT_TRUE(data.Initialize(3));
    data.DividoraData(0)->SetFileSize(99);
    ASSERT_TRUE(data.Initialize(2));
    EXPECT_EQ(data.DividoraCount(), 2);
    EXPECT_EQ(data.DividoraData(0)->FileSize(), 0);
    EXPECT_NE(data.DividoraData(0), data.DividoraData(1));
    EXPECT_THROW(data.DividoraData(2), std::out_of_range);
}

TEST(KPXSepaDataTest, StampsTheSplitIntoEveryRecordInOrder) {
    KPXSepaData data;
    data.SetFileAddress("/data/movie.avi");
    data.SetSepaDate(45422.375);
    ASSERT_TRUE(data.Initialize(3));
    ASSERT_TRUE(data.DecideSpecAndTurnID());
    for (int32_t i = 0; i < 3; ++i) {
        const auto record = data.DividoraData(i);
        EXPECT_EQ(record->TurnID(), i);
        EXPECT_EQ(record->Count(), 3);
        EXPECT_EQ(record->FileName(), "movie.avi");
        EXPECT_EQ(record->SepaDate(), 45422.375);
        EXPECT_EQ(record->SpecID(), data.DividoraData(0)->SpecID());
    }
}

TEST(KPXSepaDataTest, NameIsTheWholeTextWithoutFolderAndEmptyAfterATrailingSeparator) {
    KPXSepaData data;
    ASSERT_TRUE(data.Initialize(1));
    data.SetFileAddress("report");
    ASSERT_TRUE(data.DecideSpecAndTurnID());
    EXPECT_EQ(data.DividoraData(0)->FileName(), "report");
    data.SetFileAddress("/data/");
    ASSERT_TRUE(data.DecideSpecAndTurnID());
    EXPECT_EQ(data.DividoraData(0)->FileName(), "");
}

TEST(KPXSepaDataTest, SplitsInTheSameSecondGetDifferentIdentifiers) {
    KPXSepaData data;
    ASSERT_TRUE(data.Initialize(1));
    std::set<int32_t> identifiers;
    for (int run = 0; run < 50; ++run) {
        ASSERT_TRUE(data.DecideSpecAndTurnID());
        identifiers.insert(data.DividoraData(0)->SpecID());
    }
    EXPECT_GE(identifiers.size(), 49u);
}

TEST(KPXSepaDataTest, ACancelStopsInitializeAfterTheFirstRecord) {
    auto cancel = std::make_shared<tkvCancelMng>();
    cancel->Cancel();
    KPXSepaData data;
    data.SetCancelMng(cancel);
    EXPECT_FALSE(data.Initialize(5));
    EXPECT_EQ(data.DividoraCount(), 5);
    EXPECT_NE(data.DividoraData(0), nullptr);
    EXPECT_EQ(data.DividoraData(1), nullptr);
}

TEST(KPXSepaDataTest, PollingRunsTheEventHookWhereACancelClickArrives) {
    auto cancel = std::make_shared<tkvCancelMng>();
    int polls = 0;
    tkvEventPump::SetProcessEventsHook([&] {
        if (++polls == 2) {
            cancel->Cancel();  // the user clicks while the second record is made
        }
    });
    KPXSepaData data;
    data.SetCancelMng(cancel);
    EXPECT_FALSE(data.Initialize(4));
    tkvEventPump::SetProcessEventsHook({});
    EXPECT_EQ(polls, 2);
    EXPECT_NE(data.DividoraData(1), nullptr);
    EXPECT_EQ(data.DividoraData(2), nullptr);
    cancel->Reset();
    EXPECT_FALSE(cancel->IsCanceled());
}

TEST(KPXSepaResultTest, ErrorIndexIsReportedOnlyWhenSet) {
    KPXSepaResult result;
    int32_t index = 7;
    EXPECT_FALSE(result.GetErrorDataOfSeparatedFile(index));
    EXPECT_EQ(index, 7);
    result.SetErrorIndex(2);
    EXPECT_TRUE(result.GetErrorDataOfSeparatedFile(index));
    EXPECT_EQ(index, 2);
    result.AddCreatedFile("/out/a1.KPX");
    EXPECT_EQ(result.CreatedFileCount(), 1);
    EXPECT_EQ(result.CreatedFile(0), "/out/a1.KPX");
    EXPECT_THROW(result.CreatedFile(1), std::out_of_range);
}

}  // namespace
