#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliCommandTest.h"
#include "CliOptions.h"
#include "DividoraVersion.h"
#include "KPXUtilSettings.h"

namespace {

using CommandLineTest = CliCommandTest;

bool StartsALine(const std::string& agText, const std::string& agStart) {
    for (const std::string& line : Lines(agText)) {
        if (line.rfind(agStart, 0) == 0) {
            return true;
        }
    }
    return false;
}

std::string Joined(const std::vector<std::string>& agWords) {
    std::string text;
    for (const auto& word : agWords) {
        text += word + " ";
    }
    return text;
}

TEST_F(CommandLineTest, HelpListsEveryOptionOfTheCommandOnItsOwnLine) {
    const KPXUtilSettings defaults;
    const CliOptions options(defaults);
    const std::vector<std::pair<std::string, unsigned>> commands{{"split", CliOption::kSplit},
                                                                 {"restore", CliOption::kRestore},
                                                                 {"verify", CliOption::kVerify},
                                                                 {"info", CliOption::kInfo}};
    for (const auto& [command, bit] : commands) {
        SCOPED_TRACE(command);
        ASSERT_EQ(Run({command, "--help"}), DividoraCli::kDone);
        EXPECT_EQ(err_.str(), "");
        const std::string help = out_.str();
        EXPECT_NE(help.find("dividora-cli " + command + " "), std::string::npos) << help;
        for (const CliOption& row : options.Table()) {
            // Rows of one name serve different commands ("PIECE").
            bool ofCommand = false;
            for (const CliOption& same : options.Table()) {
                ofCommand = ofCommand || (same.Names == row.Names && (same.Commands & bit) != 0);
            }
            EXPECT_EQ(StartsALine(help, "  " + row.Names + " "), ofCommand) << row.Names << "\n"
                                                                            << help;
        }
    }
    // What scripts are told to use, by name, whatever the table holds.
    const std::vector<std::pair<std::string, std::vector<std::string>>> promised{
        {"split", {"-o DIR", "--size SIZE", "--count N", "--no-checksum", "--html FILE"}},
        {"restore", {"-o DIR|-", "--find PIECE", "--checksum FILE", "--force"}},
        {"verify", {"--find PIECE", "--checksum FILE", "--block BYTES"}},
    };
    for (const auto& [command, shown] : promised) {
        ASSERT_EQ(Run({command, "--help"}), DividoraCli::kDone);
        for (const std::string& option : shown) {
            EXPECT_TRUE(StartsALine(out_.str(), "  " + option + " ")) << command << ": " << option;
        }
    }
    // The defaults and limits shown are the core's.
    ASSERT_EQ(Run({"split", "-h"}), DividoraCli::kDone);
    EXPECT_NE(out_.str().find("1 B to 64 MiB, default 1 MiB"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("default " + std::to_string(defaults.UpperCountToWarn())),
              std::string::npos);

    ASSERT_EQ(Run({"--help"}), DividoraCli::kDone);
    for (const std::string command : {"split", "restore", "verify", "info"}) {
        EXPECT_NE(out_.str().find("  dividora-cli " + command + " "), std::string::npos);
    }
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});
}

TEST_F(CommandLineTest, VersionIsTheProjectsVersion) {
    ASSERT_EQ(Run({"--version"}), DividoraCli::kDone);
    EXPECT_EQ(out_.str(), std::string(DividoraVersion::kProduct) + " " +
                              std::to_string(DividoraVersion::kMajor) + "." +
                              std::to_string(DividoraVersion::kMinor) + "." +
                              std::to_string(DividoraVersion::kRevision) + "\n");
    EXPECT_EQ(out_.str().rfind("Dividora ", 0), 0u);
}

TEST_F(CommandLineTest, SizesTakeTheUsualUnitsAll1024Based) {
    const std::vector<std::pair<std::string, int64_t>> taken{
        {"7", 7},           {"7B", 7},          {"7b", 7},
        {"3K", 3072},       {"3k", 3072},       {"3KB", 3072},
        {"3KiB", 3072},     {"3kib", 3072},     {"2M", 2097152},
        {"2m", 2097152},    {"2MB", 2097152},   {"2MiB", 2097152},
        {"1G", 1073741824}, {"1g", 1073741824}, {"1GiB", 1073741824},
        {"1.5k", 1536},     {"0.5MiB", 524288}, {"1.5GB", 1610612736},
    };
    for (const auto& [text, bytes] : taken) {
        int64_t parsed = -1;
        EXPECT_TRUE(CliOptions::ParseByteSize(text, parsed)) << text;
        EXPECT_EQ(parsed, bytes) << text;
    }
    for (const std::string text :
         {"", "K", "1Ki", "1KiBB", "1 KB", "1.K", ".5K", "1T", "1e3", "-1K", "0x10", "1,5K"}) {
        int64_t parsed = -1;
        EXPECT_FALSE(CliOptions::ParseByteSize(text, parsed)) << text;
    }

    // The new units reach the split: 2k is 2048 bytes a piece, header included.
    Split(source_, pieces_, {"--size", "2k", "--block", "3KiB"});
    ASSERT_EQ(PieceNames(pieces_).size(), 6u);
    EXPECT_EQ(SizeOf(pieces_ + "/a1.KPX"), 2048);
}

TEST_F(CommandLineTest, ARefusedSizeNamesTheLargestAllowed) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--size", "3G"}, "2147483647 B"},
        {{"--size", "10XB"}, "2147483647 B"},
        {{"--count", "2", "--block", "65m"}, "64 MiB"},
        {{"--count", "2", "--block", "64.5MiB"}, "64 MiB"},
    };
    for (const auto& [options, largest] : cases) {
        std::vector<std::string> arguments{"split", source_, "-o", pieces_};
        arguments.insert(arguments.end(), options.begin(), options.end());
        SCOPED_TRACE(Joined(arguments));
        EXPECT_EQ(Run(arguments), DividoraCli::kBadUsage);
        EXPECT_NE(Lines(err_.str()).front().find(largest), std::string::npos) << err_.str();
    }
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});
}

TEST_F(CommandLineTest, ThePieceNameMustBeAPlainName) {
    const std::string inner = NewFolder("pieces/inner");
    for (const std::string name : {"../escape", "..", ".", "inner/a", "", "/tmp/a"}) {
        SCOPED_TRACE("-n '" + name + "'");
        EXPECT_EQ(Run({"split", source_, "-o", pieces_, "-n", name, "--count", "2"}),
                  DividoraCli::kBadUsage);
        EXPECT_EQ(err_.str().rfind("dividora-cli: ", 0), 0u) << err_.str();
    }
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{"inner"});
    EXPECT_EQ(FolderEntries(inner), std::vector<std::string>{});
    EXPECT_EQ(FolderEntries(folder_.Path()),
              (std::vector<std::string>{"a.bin", "pieces", "restored"}));
}

}  // namespace
