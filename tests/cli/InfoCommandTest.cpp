#include <gtest/gtest.h>

#include <sstream>

#include "DividoraCli.h"
#include "KPXDividoraData.h"
#include "TestFiles.h"
#include "tkvDateTime.h"

namespace {

class InfoCommandTest : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& agArguments) {
        out_.str("");
        err_.str("");
        return DividoraCli(out_, err_).Run(agArguments);
    }
    std::string Piece(const std::string& agName, const std::string& agFileName, int32_t agTurnID,
                      const std::string& agData) {
        KPXDividoraData record;
        double date = 0;
        tkvDateTime::FromParts({2024, 5, 10, 9, 0, 0}, date);
        record.SetSepaDate(date);
        record.SetSpecID(-12345);
        record.SetTurnID(agTurnID);
        record.SetCount(2);
        record.SetFileName(agFileName);
        record.SetFileSize(static_cast<int32_t>(agData.size()));
        WriteTestPiece(folder_.Path(agName), record, agData);
        return folder_.Path(agName);
    }

    TempFolder folder_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(InfoCommandTest, PrintsEveryFieldOfEachPiece) {
    const std::string first = Piece("a1.KPX", "写真.jpg", 0, "abc");
    const std::string second = Piece("a2.KPX", "写真.jpg", 1, "de");
    EXPECT_EQ(Run({"info", first, second}), 0);
    EXPECT_EQ(out_.str(), first +
                              "\n  SpecID: -12345\n  SepaDate: 2024/05/10 9:00:00\n  TurnID: 0\n"
                              "  Count: 2\n  FileName: 写真.jpg\n  FileSize: 3\n" +
                              second +
                              "\n  SpecID: -12345\n  SepaDate: 2024/05/10 9:00:00\n  TurnID: 1\n"
                              "  Count: 2\n  FileName: 写真.jpg\n  FileSize: 2\n");
    EXPECT_EQ(err_.str(), "");
}

TEST_F(InfoCommandTest, ReportsUnreadablePiecesWithTheirErrorTextAndStatus1) {
    const std::string good = Piece("a1.KPX", "a.bin", 0, "abc");
    const std::string cut = folder_.Path("cut.KPX");
    WriteAllBytes(cut, ReadAllBytes(good).substr(0, 140));
    EXPECT_EQ(Run({"info", folder_.Path("missing.KPX"), good, cut}), 1);
    EXPECT_EQ(err_.str(), folder_.Path("missing.KPX") + ": ﾍｯﾀﾞ読み込みﾌｧｲﾙが存在しません。\n" +
                              cut + ": 復元元ﾌｧｲﾙのﾌｧｲﾙｻｲｽﾞ情報が異常です。\n");
    EXPECT_EQ(out_.str().rfind(good + "\n", 0), 0u) << "the readable piece is still shown";
}

TEST_F(InfoCommandTest, BadUsageIsStatus2WithTheUsage) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"info"}), 2);
    EXPECT_NE(err_.str().find("dividora-cli info PIECE..."), std::string::npos);
    EXPECT_EQ(Run({"frobnicate"}), 2);
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(out_.str().find("Usage:"), std::string::npos);
}

}  // namespace
