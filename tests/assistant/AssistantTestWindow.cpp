#include "AssistantTestWindow.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "KPXDividoraData.h"
#include "KPXSepaCtrl.h"
#include "KPXUtilSettings.h"
#include "tkvDateTime.h"

int32_t ScriptedQuestion::MsgBox(const std::string& agAddress) {
    const size_t index = Asked.size();
    Asked.push_back(agAddress);
    return index < Answers.size() ? Answers[index] : 0;
}

namespace {

// Settings of their own for each window: defaults until a test changes them, and no file.
std::shared_ptr<KPXUtilSettings> FreshSettings() {
    static TempFolder folder;
    return std::make_shared<KPXUtilSettings>(folder.Path("program"), folder.Path("settings"));
}

}  // namespace

// By default a split by count with numbered names.
AssistantTestWindow::AssistantTestWindow() : KPXUISepaAssPlainWindow(FreshSettings()) {
    SeparateFileMode = 2;
    SeparateFileHowToName = 2;
    for (Operation operation : {Operation::kEstimateSeparating, Operation::kEstimateRestoring,
                                Operation::kSeparate, Operation::kRestore}) {
        enabled_[operation] = true;
        views_[operation];
    }
    for (PageSet pageSet : {PageSet::kFramePageBase, PageSet::kFramePageSeparateFile,
                            PageSet::kFramePageRestoreDividora}) {
        fixed_[pageSet] = false;
    }
}

AssistantTestWindow::~AssistantTestWindow() = default;

std::string AssistantTestWindow::NameOf(Operation agOperation) {
    switch (agOperation) {
        case Operation::kEstimateSeparating:
            return "EstimateSeparating";
        case Operation::kEstimateRestoring:
            return "EstimateRestoring";
        case Operation::kSeparate:
            return "Separate";
        case Operation::kRestore:
            return "Restore";
    }
    return "?";
}

std::string AssistantTestWindow::NameOf(PageSet agPageSet) {
    switch (agPageSet) {
        case PageSet::kFramePageBase:
            return "FramePageBase";
        case PageSet::kFramePageSeparateFile:
            return "FramePageSeparateFile";
        case PageSet::kFramePageRestoreDividora:
            return "FramePageRestoreDividora";
    }
    return "?";
}

void AssistantTestWindow::SetDoButtonEnabled(Operation agOperation, bool agEnabled) {
    Calls.push_back("button " + NameOf(agOperation) + (agEnabled ? " on" : " off"));
    enabled_[agOperation] = agEnabled;
}

void AssistantTestWindow::SetPageSetFixed(PageSet agPageSet, bool agFixed) {
    Calls.push_back("fixed " + NameOf(agPageSet) + (agFixed ? " on" : " off"));
    fixed_[agPageSet] = agFixed;
}

void AssistantTestWindow::SetStatusText(Operation agOperation, const std::string& agText) {
    Calls.push_back("status " + NameOf(agOperation) + " " + agText);
    if (OnStatus) {
        OnStatus(agOperation, agText);
    }
}

tkvWebBrowser* AssistantTestWindow::ResultView(Operation agOperation) {
    Calls.push_back("view " + NameOf(agOperation));
    return &views_[agOperation];
}

std::vector<std::string> AssistantTestWindow::Statuses(Operation agOperation) const {
    const std::string head = "status " + NameOf(agOperation) + " ";
    std::vector<std::string> texts;
    for (const std::string& call : Calls) {
        if (call.compare(0, head.size(), head) == 0) {
            texts.push_back(call.substr(head.size()));
        }
    }
    return texts;
}

bool AssistantTestWindow::DoEnabled(Operation agOperation) const {
    return enabled_.at(agOperation);
}

bool AssistantTestWindow::Fixed(PageSet agPageSet) const { return fixed_.at(agPageSet); }

std::string Cp932ToUtf8(const std::string& agBytes) {
    const iconv_t converter = ::iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("no CP932 converter");
    }
    std::string input = agBytes;
    std::string output(agBytes.size() * 4 + 16, '\0');
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    const size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (result == static_cast<size_t>(-1)) {
        return "<undecodable>";
    }
    output.resize(output.size() - outLeft);
    return output;
}

std::string DateText(double agDate) {
    tkvDateTime::Parts parts;
    if (!tkvDateTime::ToParts(agDate, parts)) {
        ADD_FAILURE() << "no calendar date for " << agDate;
        return {};
    }
    char text[64];
    if (parts.Hour == 0 && parts.Minute == 0 && parts.Second == 0) {
        std::snprintf(text, sizeof text, "%04d/%02d/%02d", parts.Year, parts.Month, parts.Day);
    } else {
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %d:%02d:%02d", parts.Year, parts.Month,
                      parts.Day, parts.Hour, parts.Minute, parts.Second);
    }
    return text;
}

double DateOf(int32_t agYear, int32_t agMonth, int32_t agDay, int32_t agHour, int32_t agMinute,
              int32_t agSecond) {
    double date = 0;
    if (!tkvDateTime::FromParts({agYear, agMonth, agDay, agHour, agMinute, agSecond}, date)) {
        throw std::runtime_error("no such date");
    }
    return date;
}

void WritePiece(const std::string& agPath, int32_t agSpecID, double agSepaDate, int32_t agTurnID,
                int32_t agCount, const std::string& agFileName, const std::string& agData) {
    KPXDividoraData record;
    record.SetSpecID(agSpecID);
    record.SetSepaDate(agSepaDate);
    record.SetTurnID(agTurnID);
    record.SetCount(agCount);
    record.SetFileName(agFileName);
    record.SetFileSize(static_cast<int32_t>(agData.size()));
    WriteTestPiece(agPath, record, agData);
}

PieceHeader ReadPieceHeader(const std::string& agPath) {
    KPXDividoraData record;
    record.SetFileAddress(agPath);
    KPXSepaCtrl reader;
    EXPECT_TRUE(reader.ReadHeader(record)) << agPath;
    return {record.SpecID(), record.SepaDate(), record.TurnID(), record.Count(), record.FileName()};
}

void MakeFolder(const std::string& agPath) {
    if (::mkdir(agPath.c_str(), 0755) != 0 && errno != EEXIST) {
        throw std::runtime_error("cannot create " + agPath);
    }
}
