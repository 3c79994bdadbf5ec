#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

class KPXUtilSettings;

// What one command line asks for, every value checked against its limits.
struct CliRequest {
    std::string Command;  // "split", "restore", "verify", "info" or "clean"
    std::vector<std::string>
        Inputs;              // split: SOURCE; restore, verify, info: PIECE...; clean: DIR...
    std::string Folder;      // -o; "-" for a restore to standard output
    std::string Name;        // -n; empty: the source's name without its extension
    int64_t PieceSize = 0;   // --size in bytes; 0 when not given
    int64_t PieceCount = 0;  // --count; 0 when not given
    int64_t HowToName = 0;   // --naming, a KPXDecideFileName method
    int64_t BlockSize = 0;   // --block
    int64_t MaxPieces = 0;   // --max-pieces
    bool NoConfirmSize = false;
    bool KeepPartial = false;
    bool Force = false;
    bool Estimate = false;
    bool NoChecksum = false;   // split: no NAME.xxh128 beside the pieces
    std::string FindPiece;     // --find: the piece whose set is restored or verified
    std::string ChecksumFile;  // --checksum; empty: the set's file beside its pieces
    std::string HtmlFile;      // --html; empty when not given
    bool Remove = false;       // clean: remove what is listed
};

// One option or positional argument of the tool: the parser, the help, the usage line and the
// defaults are all made from the table of these rows.
struct CliOption {
    // kInput: one positional word; kInputs: one or more; kName: a text that must be a plain
    // file name.
    enum class Kind { kInput, kInputs, kText, kName, kFlag, kByteSize, kNumber, kNaming };
    // Commands, as bits.
    static constexpr unsigned kSplit = 1;
    static constexpr unsigned kRestore = 2;
    static constexpr unsigned kInfo = 4;
    static constexpr unsigned kVerify = 8;
    static constexpr unsigned kClean = 16;

    std::string Names{};      // "-o", "--size"; the value name for a positional ("SOURCE")
    std::string ValueName{};  // "DIR"; empty for a flag
    Kind Type = Kind::kText;
    unsigned Commands = 0;
    bool Required = false;
    // Options of one group other than 0 exclude each other, and one of them is required.
    int Group = 0;
    // Sizes and numbers: the least and the most allowed, and the value when not given.
    int64_t Least = 0;
    int64_t Most = 0;
    int64_t Default = 0;
    std::string Help{};
    std::variant<std::vector<std::string> CliRequest::*, std::string CliRequest::*,
                 bool CliRequest::*, int64_t CliRequest::*>
        Field{};
};

// The tool's command line: its table of options, parsed with CLI11.
class CliOptions {
public:
    enum class Outcome { kRun, kShown, kBadUsage };

    // The limits come from the core; the defaults from agDefaults, settings as a fresh
    // installation has them.
    explicit CliOptions(const KPXUtilSettings& agDefaults);

    // agArguments without the program's name. kRun with ouRequest filled; kShown with the help
    // or the version in ouText; kBadUsage with why and the usage in ouText.
    Outcome Parse(const std::vector<std::string>& agArguments, CliRequest& ouRequest,
                  std::string& ouText) const;

    // "Usage:" and the synopsis of agCommand, or of every command when it is empty.
    std::string Usage(const std::string& agCommand) const;

    const std::vector<CliOption>& Table() const { return table_; }

    // A byte count: a number, a fraction allowed, with an optional unit B, K, KB, KiB, M, MB,
    // MiB, G, GB or GiB in any letter case, all 1024-based; a fraction is rounded to the
    // nearest byte. False for anything else.
    static bool ParseByteSize(const std::string& agText, int64_t& ouBytes);
    // "64 MiB", "1 KiB" or "2147483647 B": the largest unit that shows agBytes exactly.
    static std::string ByteSizeText(int64_t agBytes);
    // The name of a naming method ("padded"); empty for an unknown one.
    static std::string NamingText(int64_t agHowToName);

private:
    std::vector<CliOption> table_;
};
