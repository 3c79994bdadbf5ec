#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "KPXUIMsgBox.h"
#include "KPXUISepaAssPlainWindow.h"
#include "TestFiles.h"
#include "tkvWebBrowser.h"

class KPXUtilSettings;

// A result view that only remembers where it was sent.
class RecordingView : public tkvWebBrowser {
public:
    void Navigate(const std::string& agAddress) override { Addresses.push_back(agAddress); }

    std::vector<std::string> Addresses;
};

// The overwrite question, answered from a script: one answer per question, 0 (a box closed by
// other means) once the script has run out.
class ScriptedQuestion : public KPXUIMsgBox {
public:
    int32_t MsgBox(const std::string& agAddress) override;

    std::vector<int32_t> Answers;
    std::vector<std::string> Asked;
};

// The main window as the assistant sees it: its inputs are plain members, and everything the
// assistant does to it is recorded, in order, in Calls.
class AssistantTestWindow : public KPXUISepaAssPlainWindow {
public:
    AssistantTestWindow();
    ~AssistantTestWindow() override;

    bool UnloadFlag() const override { return Unloading; }
    void SetDoButtonEnabled(Operation agOperation, bool agEnabled) override;
    void SetPageSetFixed(PageSet agPageSet, bool agFixed) override;
    void SetStatusText(Operation agOperation, const std::string& agText) override;
    tkvWebBrowser* ResultView(Operation agOperation) override;
    KPXUIMsgBox& OverwriteQuestion() override { return Question; }

    static std::string NameOf(Operation agOperation);
    static std::string NameOf(PageSet agPageSet);

    // The settings the assistant reads; their own folder, defaults until a test changes them.
    KPXUtilSettings& Settings() { return *SepaMng(); }
    RecordingView& View(Operation agOperation) { return views_[agOperation]; }
    // The status texts one label showed, in order.
    std::vector<std::string> Statuses(Operation agOperation) const;
    bool DoEnabled(Operation agOperation) const;
    bool Fixed(PageSet agPageSet) const;

    bool Unloading = false;
    ScriptedQuestion Question;
    // Runs after a status text was recorded, as a click handled while the label repaints.
    std::function<void(Operation, const std::string&)> OnStatus;
    // "button <operation> on|off", "fixed <page set> on|off", "status <operation> <text>",
    // "view <operation>".
    std::vector<std::string> Calls;

private:
    std::map<Operation, RecordingView> views_;
    std::map<Operation, bool> enabled_;
    std::map<PageSet, bool> fixed_;
};

// CP932 bytes as UTF-8, decoded by the C library; "<undecodable>" when they are not CP932.
std::string Cp932ToUtf8(const std::string& agBytes);

// A date as the pages write it: "2024/05/10 9:00:00", the date alone at midnight.
std::string DateText(double agDate);
double DateOf(int32_t agYear, int32_t agMonth, int32_t agDay, int32_t agHour = 0,
              int32_t agMinute = 0, int32_t agSecond = 0);

// Writes a piece file with these header fields and agData after the header.
void WritePiece(const std::string& agPath, int32_t agSpecID, double agSepaDate, int32_t agTurnID,
                int32_t agCount, const std::string& agFileName, const std::string& agData);

// The header fields of a piece file, read back by the engine; fails the test when unreadable.
struct PieceHeader {
    int32_t SpecID = 0;
    double SepaDate = 0;
    int32_t TurnID = 0;
    int32_t Count = 0;
    std::string FileName;
};
PieceHeader ReadPieceHeader(const std::string& agPath);

void MakeFolder(const std::string& agPath);
