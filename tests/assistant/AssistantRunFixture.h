#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AssistantTestWindow.h"
#include "KPXUISepaAss.h"
#include "TestFiles.h"

// A source "a.bin" of 3001 bytes, and the window set to split it by count into three pieces
// "pieces/partN.KPX" and to restore them into "out".
class AssistantRunFixture : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolder(folder_.Path("pieces"));
        MakeFolder(folder_.Path("out"));
        WriteAllBytes(folder_.Path("a.bin"), PatternBytes(3001));
        window_.SeparateFileAddress = folder_.Path("a.bin");
        window_.SeparateFileMode = 2;
        window_.SeparateFileModeCount = "3";
        window_.SeparateFileSepaAddress = folder_.Path("pieces");
        window_.SeparateFileDividoraName = "part";
        window_.SeparateFileHowToName = 2;
        window_.RestoreDividoraAddress = folder_.Path("out");
    }

    std::string PiecePath(int agNumber) const {
        return folder_.Path("pieces/part" + std::to_string(agNumber) + ".KPX");
    }

    TempFolder folder_;
    AssistantTestWindow window_;
    std::unique_ptr<KPXUISepaAss> assistant_;
};
