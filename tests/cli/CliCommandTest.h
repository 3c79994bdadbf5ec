#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "DividoraCli.h"
#include "TestFiles.h"

// What the command-line tests share: a source "a.bin" of 10000 bytes, folders for its pieces
// and for a restore, and the tool run in-process with its streams captured.

// The header of a piece of "a.bin": 135 bytes plus the five bytes of the name.
inline constexpr int64_t kHeaderOfA = 140;

inline const std::string kCausesFollow = "原因";
inline const std::string kCancelled = "実行はｷｬﾝｾﾙされました。";

inline std::vector<std::string> Lines(const std::string& agText) {
    std::vector<std::string> lines;
    std::istringstream in(agText);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline bool HasLine(const std::string& agText, const std::string& agLine) {
    const auto lines = Lines(agText);
    return std::find(lines.begin(), lines.end(), agLine) != lines.end();
}

inline std::vector<std::string> PathsIn(const std::string& agFolder,
                                        const std::vector<std::string>& agNames) {
    std::vector<std::string> paths;
    for (const auto& name : agNames) {
        paths.push_back(agFolder + "/" + name);
    }
    return paths;
}

// The piece files in agFolder, without the checksum file beside them.
inline std::vector<std::string> PieceNames(const std::string& agFolder) {
    std::vector<std::string> names = FolderEntries(agFolder);
    std::erase_if(names, [](const std::string& agName) { return !agName.ends_with(".KPX"); });
    return names;
}

inline int64_t SizeOf(const std::string& agPath) {
    std::error_code error;
    const auto size = std::filesystem::file_size(agPath, error);
    return error ? -1 : static_cast<int64_t>(size);
}

// Whether agPath holds exactly agBytes; tells where they part, not the bytes themselves.
inline ::testing::AssertionResult Holds(const std::string& agPath, const std::string& agBytes) {
    const std::string held = ReadAllBytes(agPath);
    if (held == agBytes) {
        return ::testing::AssertionSuccess();
    }
    const auto parted = std::mismatch(held.begin(), held.end(), agBytes.begin(), agBytes.end());
    return ::testing::AssertionFailure()
           << agPath << " holds " << held.size() << " bytes instead of " << agBytes.size()
           << ", first differing at " << (parted.first - held.begin());
}

// A fixed order unlike the split's: the restore must find the join order in the headers.
inline std::vector<std::string> Shuffled(std::vector<std::string> agPieces) {
    std::reverse(agPieces.begin(), agPieces.end());
    std::rotate(agPieces.begin(), agPieces.begin() + agPieces.size() / 3, agPieces.end());
    return agPieces;
}

class CliCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        source_ = folder_.Path("a.bin");
        WriteAllBytes(source_, PatternBytes(10000));
        pieces_ = NewFolder("pieces");
        restored_ = NewFolder("restored");
    }

    std::string NewFolder(const std::string& agName) {
        std::filesystem::create_directory(folder_.Path(agName));
        return folder_.Path(agName);
    }

    int Run(const std::vector<std::string>& agArguments) {
        out_.str("");
        err_.str("");
        return DividoraCli(out_, err_).Run(agArguments);
    }

    // Splits agSource into agFolder; status 0 with the log on stdout.
    void Split(const std::string& agSource, const std::string& agFolder,
               const std::vector<std::string>& agOptions) {
        std::vector<std::string> arguments{"split", agSource, "-o", agFolder};
        arguments.insert(arguments.end(), agOptions.begin(), agOptions.end());
        EXPECT_EQ(Run(arguments), DividoraCli::kDone) << err_.str();
        EXPECT_NE(out_.str(), "");
    }

    // The pieces of a split of the source into agCount pieces by number.
    std::vector<std::string> SplitInto(int agCount, const std::string& agFolder) {
        Split(source_, agFolder, {"--count", std::to_string(agCount)});
        std::vector<std::string> names;
        for (int i = 1; i <= agCount; ++i) {
            names.push_back("a" + std::to_string(i) + ".KPX");
        }
        EXPECT_EQ(PieceNames(agFolder), names);
        EXPECT_EQ(FolderEntries(agFolder).size(), names.size() + 1) << "and a.xxh128";
        return PathsIn(agFolder, names);
    }

    // Restores agPieces into agFolder; status 0 with the restored path in the log.
    void Restore(const std::vector<std::string>& agPieces, const std::string& agFolder) {
        std::vector<std::string> arguments{"restore"};
        arguments.insert(arguments.end(), agPieces.begin(), agPieces.end());
        arguments.insert(arguments.end(), {"-o", agFolder});
        EXPECT_EQ(Run(arguments), DividoraCli::kDone) << err_.str();
        EXPECT_NE(out_.str().find(agFolder + "/a.bin"), std::string::npos) << out_.str();
    }

    // The first cause a failure page gives, which is the root cause.
    std::string FirstCause() const {
        const auto lines = Lines(err_.str());
        const auto heading = std::find(lines.begin(), lines.end(), kCausesFollow);
        return heading == lines.end() || heading + 1 == lines.end() ? std::string()
                                                                    : *(heading + 1);
    }

    // Whether the failure page gives agCause first; a system text may follow it.
    bool RootCauseIs(const std::string& agCause) const {
        const std::string first = FirstCause();
        return first == agCause || first.rfind(agCause + " ", 0) == 0;
    }

    TempFolder folder_;
    std::string source_;
    std::string pieces_;
    std::string restored_;
    std::ostringstream out_;
    std::ostringstream err_;
};
