#include <gtest/gtest.h>

#include <stdexcept>

#include "tkvErrorAnalysis.h"
#include "tkvErrorMng.h"

namespace {

// A link of an error chain: its own numbers, described as "name:number", and a reference.
class Link : public tkvIError {
public:
    explicit Link(std::string agName, bool agHasRegistry = true) : name_(std::move(agName)) {
        if (agHasRegistry) {
            registry_ = std::make_shared<tkvErrorMng>(
                [name = name_](int32_t agNumber, std::string& ouText) {
                    ouText = name + ":" + std::to_string(agNumber);
                });
        }
    }
    std::shared_ptr<tkvErrorMng> ErrorMng() const override { return registry_; }
    std::string ClassName() const override { return name_; }

private:
    std::string name_;
    std::shared_ptr<tkvErrorMng> registry_;
};

std::shared_ptr<Link> MakeLink(const std::string& agName, std::vector<int32_t> agNumbers,
                               std::shared_ptr<tkvIError> agReference = nullptr) {
    auto link = std::make_shared<Link>(agName);
    for (int32_t number : agNumbers) {
        link->ErrorMng()->Register(number);
    }
    link->ErrorMng()->SetReference(std::move(agReference));
    return link;
}

// Every description in table order.
std::vector<std::string> Walked(const tkvErrorAnalysis& agAnalysis) {
    std::vector<std::string> texts;
    for (int32_t c = 0; c < agAnalysis.CountOfClass(); ++c) {
        texts.push_back("[" + agAnalysis.Object(c)->ClassName() + "]");
        for (int32_t f = 0; f < agAnalysis.CountOfFunction(c); ++f) {
            texts.push_back(agAnalysis.Description(c, f));
        }
    }
    return texts;
}

using Texts = std::vector<std::string>;

TEST(tkvErrorAnalysisTest, InnermostFirstPutsTheRootCauseFirst) {
    const auto chain = MakeLink("A", {1001, 1003}, MakeLink("B", {2}, MakeLink("C", {7})));
    tkvErrorAnalysis analysis;
    ASSERT_TRUE(analysis.Analyze(chain));
    EXPECT_EQ(Walked(analysis), (Texts{"[C]", "C:7", "[B]", "B:2", "[A]", "A:1001", "A:1003"}));
    EXPECT_EQ(analysis.Number(2, 1), 1003);
    EXPECT_FALSE(analysis.CirculatingReference());
}

TEST(tkvErrorAnalysisTest, OutermostFirstListsEachObjectsNewestErrorFirst) {
    const auto chain = MakeLink("A", {1001, 1003}, MakeLink("B", {2}, MakeLink("C", {7})));
    tkvErrorAnalysis analysis;
    analysis.SetSortMode(tkvErrorAnalysis::kOutermostFirst);
    ASSERT_TRUE(analysis.Analyze(chain));
    EXPECT_EQ(Walked(analysis), (Texts{"[A]", "A:1003", "A:1001", "[B]", "B:2", "[C]", "C:7"}));
}

TEST(tkvErrorAnalysisTest, EmptyRegistriesAndObjectsWithoutOneAreRecordedWithoutEntries) {
    tkvErrorAnalysis analysis;
    ASSERT_TRUE(analysis.Analyze(MakeLink("A", {})));
    ASSERT_EQ(analysis.CountOfClass(), 1);
    EXPECT_EQ(analysis.CountOfFunction(0), 0);

    ASSERT_TRUE(analysis.Analyze(MakeLink("A", {5}, std::make_shared<Link>("Namer", false))));
    EXPECT_EQ(Walked(analysis), (Texts{"[Namer]", "[A]", "A:5"}));
    EXPECT_THROW(analysis.Number(0, 0), std::out_of_range);
    EXPECT_THROW(analysis.CountOfFunction(2), std::out_of_range);
    EXPECT_THROW(analysis.Object(-1), std::out_of_range);
}

TEST(tkvErrorAnalysisTest, FindsAClassByItsExactName) {
    tkvErrorAnalysis analysis;
    analysis.Analyze(MakeLink("A", {1}, MakeLink("B", {2})));
    int32_t index = 99;
    EXPECT_FALSE(analysis.IsThereClass("b", index));
    EXPECT_EQ(index, 99);
    EXPECT_TRUE(analysis.IsThereClass("A", index));
    EXPECT_EQ(index, 1);
}

TEST(tkvErrorAnalysisTest, CyclesEndTheWalk) {
    const auto self = MakeLink("A", {1});
    self->ErrorMng()->SetReference(self);
    tkvErrorAnalysis analysis;
    EXPECT_FALSE(analysis.Analyze(self));
    EXPECT_TRUE(analysis.CirculatingReference());

    const auto a = MakeLink("A", {1});
    const auto b = MakeLink("B", {2}, a);
    a->ErrorMng()->SetReference(b);
    analysis.SetSortMode(tkvErrorAnalysis::kOutermostFirst);
    EXPECT_FALSE(analysis.Analyze(a));
    EXPECT_TRUE(analysis.CirculatingReference());
    EXPECT_EQ(Walked(analysis), (Texts{"[A]", "A:1", "[B]", "B:2"}));
    EXPECT_TRUE(analysis.Analyze(MakeLink("C", {3})));
    EXPECT_FALSE(analysis.CirculatingReference()) << "cleared by the next walk";
    a->ErrorMng()->SetReference(nullptr);  // let the pair go
    self->ErrorMng()->SetReference(nullptr);
}

TEST(tkvErrorAnalysisTest, ACancelStopsTheWalkAndAnUnknownModeRecordsNothing) {
    tkvErrorAnalysis analysis;
    int polls = 0;
    analysis.SetCancelMng([&] { return ++polls == 2; });
    EXPECT_FALSE(analysis.Analyze(MakeLink("A", {1, 2, 3}, MakeLink("B", {4}))));
    EXPECT_EQ(Walked(analysis), (Texts{"[B]", "B:4"})) << "B recorded, cancelled after it";

    analysis.SetCancelMng({});
    analysis.SetSortMode(3);
    EXPECT_TRUE(analysis.Analyze(MakeLink("A", {1})));
    EXPECT_EQ(analysis.CountOfClass(), 0);
}

TEST(tkvErrorAnalysisTest, DeveloperReportListsEveryClassAndFunction) {
    tkvErrorAnalysis analysis;
    analysis.Analyze(MakeLink("A", {1001}, MakeLink("B", {})));
    std::string report;
    ASSERT_TRUE(analysis.MakeStringForDeveloper(report));
    const std::string head = "Error Data for Developer on ";
    ASSERT_EQ(report.rfind(head, 0), 0u);
    const size_t dateEnd = report.find("\r\n");
    EXPECT_EQ(dateEnd, head.size() + 10) << "yyyy/MM/dd";
    EXPECT_EQ(report.substr(dateEnd),
              "\r\n\r\nSortMode:\r\n   1\r\n\r\nCount:\r\n   2\r\n\r\n"
              "Class Data 0\r\n\r\n   Object:\r\n      B\r\n\r\n   Count:\r\n      0\r\n\r\n"
              "Class Data 1\r\n\r\n   Object:\r\n      A\r\n\r\n   Count:\r\n      1\r\n\r\n"
              "   Function Data 0\r\n\r\n      Number:\r\n         1001\r\n\r\n"
              "      Description:\r\n         A:1001\r\n\r\n");
}

}  // namespace
