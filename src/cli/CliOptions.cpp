#include "CliOptions.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>
#include <type_traits>
#include <utility>

#include "CliText.h"
#include "DividoraVersion.h"
#include "KPXDecideFileName.h"
#include "KPXDecideFileSize.h"
#include "KPXUtilSettings.h"
#include "tkvFileString.h"

namespace {

using Kind = CliOption::Kind;

struct CommandRow {
    const char* Name;
    unsigned Bit;
    const char* Help;
};

constexpr CommandRow kCommands[] = {
    {"split", CliOption::kSplit, "cut SOURCE into piece files in DIR"},
    {"restore", CliOption::kRestore, "join piece files back into the file they were cut from"},
    {"verify", CliOption::kVerify,
     "check that a set of pieces is complete, from one split and intact; writes nothing"},
    {"info", CliOption::kInfo, "show the header fields of each piece file"},
    {"clean", CliOption::kClean,
     "list, or with --remove remove, the hidden files that runs which ended early left in DIR"},
};

struct NamingRow {
    const char* Name;
    int32_t HowToName;
};

constexpr NamingRow kNamings[] = {
    {"random", KPXDecideFileName::kRandom},
    {"number", KPXDecideFileName::kNumber},
    {"padded", KPXDecideFileName::kPaddedNumber},
};

struct UnitRow {
    const char* Name;
    int64_t Bytes;
};

constexpr int64_t kKiB = 1024;
constexpr int64_t kMiB = 1024 * kKiB;
constexpr int64_t kGiB = 1024 * kMiB;
// Matched against the unit in upper case.
constexpr UnitRow kUnits[] = {
    {"", 1},      {"B", 1},      {"K", kKiB}, {"KB", kKiB}, {"KIB", kKiB}, {"M", kMiB},
    {"MB", kMiB}, {"MIB", kMiB}, {"G", kGiB}, {"GB", kGiB}, {"GIB", kGiB},
};
constexpr const char* kUnitNames = "B, K, KB, KiB, M, MB, MiB, G, GB or GiB";

// The split reads a piece size and a count as the window does, into 32-bit fields; the piece
// limit is a 32-bit setting.
constexpr int64_t kMostPieceSize =
    std::numeric_limits<decltype(std::declval<KPXDecideFileSize&>().FileSizeToSeparate())>::max();
constexpr int64_t kMostPieceCount =
    std::numeric_limits<decltype(std::declval<KPXDecideFileSize&>().FileCountToSeparate())>::max();
constexpr int64_t kMostPieceLimit =
    std::numeric_limits<decltype(std::declval<KPXUtilSettings&>().UpperCountToWarn())>::max();

// A verify only reads: larger blocks cost it nothing on a disk and spare it hand-overs between
// its two buffers in the page cache (1 GiB: 0.19 s at 4 MiB against 0.21 s at 1 MiB).
constexpr int64_t kVerifyBlockSize = 4 * kMiB;

std::string VersionText() {
    return std::string(DividoraVersion::kProduct) + " " + std::to_string(DividoraVersion::kMajor) +
           "." + std::to_string(DividoraVersion::kMinor) + "." +
           std::to_string(DividoraVersion::kRevision);
}

bool ParseWholeNumber(const std::string& agText, int64_t& ouNumber) {
    if (agText.empty() || agText.size() > 18) {
        return false;
    }
    for (char c : agText) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    ouNumber = std::stoll(agText);
    return true;
}

// The help line of a row: what it does, then its limits and default.
std::string Describe(const CliOption& agRow) {
    switch (agRow.Type) {
        case Kind::kByteSize:
            return agRow.Help + " (" + CliOptions::ByteSizeText(agRow.Least) + " to " +
                   CliOptions::ByteSizeText(agRow.Most) +
                   (agRow.Default > 0 ? ", default " + CliOptions::ByteSizeText(agRow.Default)
                                      : std::string()) +
                   ")";
        case Kind::kNumber:
            return agRow.Help + " (" + std::to_string(agRow.Least) + " to " +
                   std::to_string(agRow.Most) +
                   (agRow.Default > 0 ? ", default " + std::to_string(agRow.Default)
                                      : std::string()) +
                   ")";
        case Kind::kNaming:
            return agRow.Help + " (default " + CliOptions::NamingText(agRow.Default) + ")";
        default:
            return agRow.Help;
    }
}

// How the row appears in a usage line: "-o DIR", "[--force]", "PIECE...".
std::string UsageWord(const CliOption& agRow) {
    if (agRow.Type == Kind::kInput || agRow.Type == Kind::kInputs) {
        return agRow.ValueName;
    }
    return agRow.ValueName.empty() ? agRow.Names : agRow.Names + " " + agRow.ValueName;
}

CLI::Validator NonEmpty() {
    return CLI::Validator(
        [](std::string& agValue) {
            return agValue.empty() ? std::string("needs a value that is not empty") : std::string();
        },
        "");
}

// A name joined to a folder must stay in it.
CLI::Validator PlainName() {
    return CLI::Validator(
        [](std::string& agValue) {
            return tkvFileString::IsPlainFileName(agValue)
                       ? std::string()
                       : agValue +
                             " is not a plain name: it must not be empty, . or .., nor "
                             "hold a separator";
        },
        "");
}

// Turns the text into a byte count within the row's limits, or says why not.
CLI::Validator ByteSizeIn(int64_t agLeast, int64_t agMost) {
    return CLI::Validator(
        [agLeast, agMost](std::string& ioValue) {
            const std::string range =
                CliOptions::ByteSizeText(agLeast) + " to " + CliOptions::ByteSizeText(agMost);
            int64_t bytes = 0;
            if (!CliOptions::ParseByteSize(ioValue, bytes)) {
                return ioValue + " is not a size from " + range +
                       " (a number with an optional unit " + kUnitNames + ")";
            }
            if (bytes > agMost) {
                const std::string most = CliOptions::ByteSizeText(agMost);
                const std::string exact = std::to_string(agMost) + " B";
                return ioValue + " is above the largest allowed, " + most +
                       (most == exact ? std::string() : " (" + exact + ")");
            }
            if (bytes < agLeast) {
                return ioValue + " is below the least allowed, " +
                       CliOptions::ByteSizeText(agLeast) + "; sizes from " + range;
            }
            ioValue = std::to_string(bytes);
            return std::string();
        },
        "");
}

CLI::Validator WholeNumberIn(int64_t agLeast, int64_t agMost) {
    return CLI::Validator(
        [agLeast, agMost](std::string& agValue) {
            int64_t number = 0;
            if (!ParseWholeNumber(agValue, number) || number < agLeast || number > agMost) {
                return agValue + " is not a whole number from " + std::to_string(agLeast) + " to " +
                       std::to_string(agMost);
            }
            return std::string();
        },
        "");
}

CLI::Validator NamingMethod() {
    return CLI::Validator(
        [](std::string& ioValue) {
            std::string names;
            for (const NamingRow& naming : kNamings) {
                if (ioValue == naming.Name) {
                    ioValue = std::to_string(naming.HowToName);
                    return std::string();
                }
                names += std::string(names.empty() ? "" : ", ") + naming.Name;
            }
            return ioValue + " is none of " + names;
        },
        "");
}

// The options of each group of one command, with their words in the usage line.
using Groups = std::map<int, std::vector<std::pair<CLI::Option*, std::string>>>;

void AddToCommand(CLI::App& ioCommand, const CliOption& agRow, CliRequest& ioRequest,
                  Groups& ioGroups) {
    const std::string help = Describe(agRow);
    CLI::Option* option = nullptr;
    switch (agRow.Type) {
        case Kind::kInput:
        case Kind::kInputs: {
            auto& inputs = ioRequest.*std::get<std::vector<std::string> CliRequest::*>(agRow.Field);
            option = ioCommand.add_option(agRow.Names, inputs, help);
            if (agRow.Type == Kind::kInput) {
                option->expected(1);
            }
            break;
        }
        case Kind::kText:
        case Kind::kName:
            option =
                ioCommand
                    .add_option(agRow.Names,
                                ioRequest.*std::get<std::string CliRequest::*>(agRow.Field), help)
                    ->check(agRow.Type == Kind::kName ? PlainName() : NonEmpty());
            break;
        case Kind::kFlag:
            option = ioCommand.add_flag(agRow.Names,
                                        ioRequest.*std::get<bool CliRequest::*>(agRow.Field), help);
            break;
        case Kind::kByteSize:
        case Kind::kNumber:
        case Kind::kNaming: {
            int64_t& value = ioRequest.*std::get<int64_t CliRequest::*>(agRow.Field);
            value = agRow.Default;
            option = ioCommand.add_option(agRow.Names, value, help);
            if (agRow.Type == Kind::kByteSize) {
                option->transform(ByteSizeIn(agRow.Least, agRow.Most));
            } else if (agRow.Type == Kind::kNumber) {
                option->check(WholeNumberIn(agRow.Least, agRow.Most));
            } else {
                option->transform(NamingMethod());
            }
            break;
        }
    }
    if (agRow.Type != Kind::kInput && agRow.Type != Kind::kInputs && agRow.Type != Kind::kFlag) {
        // As ever, an option given twice takes its last value.
        option->option_text(agRow.ValueName)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    }
    option->required(agRow.Required);
    if (agRow.Group != 0) {
        for (const auto& [other, word] : ioGroups[agRow.Group]) {
            option->excludes(other);
            other->excludes(option);
        }
        ioGroups[agRow.Group].emplace_back(option, UsageWord(agRow));
    }
}

// CLI11's help with the tool's own usage lines, and an option's value name without the type
// and the notes the usage lines already give.
class HelpFormat : public CLI::Formatter {
public:
    explicit HelpFormat(const CliOptions& agOptions) : options_(agOptions) { column_width(33); }

    std::string make_usage(const CLI::App* agApp, std::string) const override {
        return options_.Usage(agApp->get_parent() != nullptr ? agApp->get_name() : "");
    }
    std::string make_option_opts(const CLI::Option* agOption) const override {
        const std::string& text = agOption->get_option_text();
        return text.empty() ? std::string() : " " + text;
    }

private:
    const CliOptions& options_;
};

}  // namespace

CliOptions::CliOptions(const KPXUtilSettings& agDefaults) {
    using O = CliOption;
    constexpr unsigned kJobs = O::kSplit | O::kRestore;
    constexpr unsigned kSets = O::kRestore | O::kVerify;
    std::string namings;
    for (const NamingRow& naming : kNamings) {
        namings += std::string(namings.empty() ? "" : "|") + naming.Name;
    }
    table_ = {
        {.Names = "SOURCE",
         .ValueName = "SOURCE",
         .Type = Kind::kInput,
         .Commands = O::kSplit,
         .Required = true,
         .Help = "the file to cut",
         .Field = &CliRequest::Inputs},
        {.Names = "PIECE",
         .ValueName = "PIECE...",
         .Type = Kind::kInputs,
         .Commands = O::kInfo,
         .Required = true,
         .Help = "piece files, in any order",
         .Field = &CliRequest::Inputs},
        {.Names = "PIECE",
         .ValueName = "PIECE... | DIR",
         .Type = Kind::kInputs,
         .Commands = kSets,
         .Group = 2,
         .Help = "piece files of one set, in any order, or a folder holding one set",
         .Field = &CliRequest::Inputs},
        {.Names = "DIR",
         .ValueName = "DIR...",
         .Type = Kind::kInputs,
         .Commands = O::kClean,
         .Required = true,
         .Help = "folders that splits or restores wrote into",
         .Field = &CliRequest::Inputs},
        {.Names = "--remove",
         .Type = Kind::kFlag,
         .Commands = O::kClean,
         .Help = "remove the files listed",
         .Field = &CliRequest::Remove},
        {.Names = "--find",
         .ValueName = "PIECE",
         .Type = Kind::kText,
         .Commands = kSets,
         .Group = 2,
         .Help = "the set PIECE belongs to, found in its folder by the headers",
         .Field = &CliRequest::FindPiece},
        {.Names = "-o",
         .ValueName = "DIR",
         .Type = Kind::kText,
         .Commands = O::kSplit,
         .Required = true,
         .Help = "the folder the pieces go into",
         .Field = &CliRequest::Folder},
        {.Names = "-o",
         .ValueName = "DIR|-",
         .Type = Kind::kText,
         .Commands = O::kRestore,
         .Required = true,
         .Help = "the folder the restored file goes into; - for standard output",
         .Field = &CliRequest::Folder},
        {.Names = "--checksum",
         .ValueName = "FILE",
         .Type = Kind::kText,
         .Commands = kSets,
         .Help = "the set's checksum file (default: NAME.xxh128 beside the pieces, if there)",
         .Field = &CliRequest::ChecksumFile},
        {.Names = "-n",
         .ValueName = "NAME",
         .Type = Kind::kName,
         .Commands = O::kSplit,
         .Help = "the pieces' name before suffix and .KPX (default: SOURCE's, no extension)",
         .Field = &CliRequest::Name},
        {.Names = "--size",
         .ValueName = "SIZE",
         .Type = Kind::kByteSize,
         .Commands = O::kSplit,
         .Group = 1,
         .Least = 1,
         .Most = kMostPieceSize,
         .Help = "every piece file this large, its header included",
         .Field = &CliRequest::PieceSize},
        {.Names = "--count",
         .ValueName = "N",
         .Type = Kind::kNumber,
         .Commands = O::kSplit,
         .Group = 1,
         .Least = 1,
         .Most = kMostPieceCount,
         .Help = "cut into N pieces of equal size",
         .Field = &CliRequest::PieceCount},
        {.Names = "--naming",
         .ValueName = namings,
         .Type = Kind::kNaming,
         .Commands = O::kSplit,
         .Default = agDefaults.HowToNameDividora(),
         .Help = "suffix: 4 random hex digits, a number, or one padded with zeros",
         .Field = &CliRequest::HowToName},
        {.Names = "--block",
         .ValueName = "BYTES",
         .Type = Kind::kByteSize,
         .Commands = kJobs,
         .Least = KPXUtilSettings::kLeastTransmissionByteSize,
         .Most = KPXUtilSettings::kMostTransmissionByteSize,
         .Default = agDefaults.TransmissionByteSize(),
         .Help = "bytes copied per step",
         .Field = &CliRequest::BlockSize},
        {.Names = "--block",
         .ValueName = "BYTES",
         .Type = Kind::kByteSize,
         .Commands = O::kVerify,
         .Least = KPXUtilSettings::kLeastTransmissionByteSize,
         .Most = KPXUtilSettings::kMostTransmissionByteSize,
         .Default = kVerifyBlockSize,
         .Help = "bytes read per step",
         .Field = &CliRequest::BlockSize},
        {.Names = "--max-pieces",
         .ValueName = "N",
         .Type = Kind::kNumber,
         .Commands = kJobs,
         .Least = 1,
         .Most = kMostPieceLimit,
         .Default = agDefaults.UpperCountToWarn(),
         .Help = "most pieces a split makes and a restore estimate checks",
         .Field = &CliRequest::MaxPieces},
        {.Names = "--no-confirm-size",
         .Type = Kind::kFlag,
         .Commands = kJobs,
         .Help = "skip the checks of the piece sizes against the source or the headers",
         .Field = &CliRequest::NoConfirmSize},
        {.Names = "--keep-partial",
         .Type = Kind::kFlag,
         .Commands = kJobs,
         .Help = "keep what a failed or cancelled run wrote",
         .Field = &CliRequest::KeepPartial},
        {.Names = "--force",
         .Type = Kind::kFlag,
         .Commands = kJobs,
         .Help = "replace existing files (targets and the --html file)",
         .Field = &CliRequest::Force},
        {.Names = "--no-checksum",
         .Type = Kind::kFlag,
         .Commands = O::kSplit,
         .Help = "write no checksum file (NAME.xxh128) beside the pieces",
         .Field = &CliRequest::NoChecksum},
        {.Names = "--estimate",
         .Type = Kind::kFlag,
         .Commands = kJobs,
         .Help = "dry run: say whether the run can be done; write only the --html file",
         .Field = &CliRequest::Estimate},
        {.Names = "--html",
         .ValueName = "FILE",
         .Type = Kind::kText,
         .Commands = kJobs,
         .Help = "also write the result page to FILE (Shift-JIS)",
         .Field = &CliRequest::HtmlFile},
    };
}

std::string CliOptions::Usage(const std::string& agCommand) const {
    constexpr size_t kWidth = 92;
    std::string text = "Usage:\n";
    for (const CommandRow& command : kCommands) {
        if (!agCommand.empty() && agCommand != command.Name) {
            continue;
        }
        const std::string head = std::string("  dividora-cli ") + command.Name;
        std::vector<std::string> words;
        std::map<int, size_t> groupWord;
        for (const CliOption& row : table_) {
            if ((row.Commands & command.Bit) == 0) {
                continue;
            }
            if (row.Group != 0) {
                const auto found = groupWord.find(row.Group);
                if (found == groupWord.end()) {
                    groupWord[row.Group] = words.size();
                    words.push_back("(" + UsageWord(row) + ")");
                } else {
                    std::string& word = words[found->second];
                    word.insert(word.size() - 1, " | " + UsageWord(row));
                }
            } else {
                words.push_back(row.Required ? UsageWord(row) : "[" + UsageWord(row) + "]");
            }
        }
        std::string line = head;
        for (const std::string& word : words) {
            if (line.size() + 1 + word.size() > kWidth) {
                text += line + "\n";
                line = std::string(head.size(), ' ');
            }
            line += " " + word;
        }
        text += line + "\n";
    }
    if (agCommand.empty()) {
        text += "  dividora-cli --help | --version | COMMAND --help\n";
    }
    return text;
}

CliOptions::Outcome CliOptions::Parse(const std::vector<std::string>& agArguments,
                                      CliRequest& ouRequest, std::string& ouText) const {
    ouRequest = CliRequest{};
    CLI::App app("Dividora cuts a file into piece files (.KPX) and joins them back.",
                 "dividora-cli");
    app.formatter(std::make_shared<HelpFormat>(*this));
    app.set_help_flag("-h,--help", "show this help and exit");
    app.set_version_flag("--version", VersionText(), "show the version and exit");
    app.require_subcommand(1);
    std::map<std::string, Groups> groups;
    for (const CommandRow& command : kCommands) {
        CLI::App* sub = app.add_subcommand(command.Name, command.Help);
        for (const CliOption& row : table_) {
            if ((row.Commands & command.Bit) != 0) {
                AddToCommand(*sub, row, ouRequest, groups[command.Name]);
            }
        }
    }
    const auto badUsage = [&](const std::string& agWhy) {
        const auto chosen = app.get_subcommands();
        ouText = "dividora-cli: " + CliText::Escaped(agWhy) + "\n\n" +
                 Usage(chosen.empty() ? std::string() : chosen.front()->get_name());
        return Outcome::kBadUsage;
    };
    std::vector<std::string> words = agArguments;
    if (!words.empty() && words.front() == "help") {
        // "help [COMMAND]", which the tool has always answered, is "[COMMAND] --help".
        words.erase(words.begin());
        words.push_back("--help");
    }
    try {
        // CLI11 takes the words last first.
        std::vector<std::string> reversed(words.rbegin(), words.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() != static_cast<int>(CLI::ExitCodes::Success)) {
            return badUsage(error.what());
        }
        std::ostringstream shown;
        app.exit(error, shown, shown);
        ouText = shown.str();
        return Outcome::kShown;
    }
    const CLI::App* chosen = app.get_subcommands().front();
    ouRequest.Command = chosen->get_name();
    for (const auto& [group, options] : groups[ouRequest.Command]) {
        bool given = false;
        std::string names;
        for (const auto& [option, word] : options) {
            given = given || option->count() > 0;
            names += (names.empty() ? "" : " or ") + word;
        }
        if (!given) {
            return badUsage("give " + names);
        }
    }
    return Outcome::kRun;
}

bool CliOptions::ParseByteSize(const std::string& agText, int64_t& ouBytes) {
    size_t end = 0;
    while (end < agText.size() &&
           (std::isdigit(static_cast<unsigned char>(agText[end])) || agText[end] == '.')) {
        ++end;
    }
    const std::string number = agText.substr(0, end);
    std::string unit = agText.substr(end);
    for (char& c : unit) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    int64_t multiplier = 0;
    for (const UnitRow& row : kUnits) {
        if (unit == row.Name) {
            multiplier = row.Bytes;
        }
    }
    if (multiplier == 0) {
        return false;
    }
    int64_t whole = 0;
    if (ParseWholeNumber(number, whole)) {
        if (whole > std::numeric_limits<int64_t>::max() / multiplier) {
            return false;
        }
        ouBytes = whole * multiplier;
        return true;
    }
    char* parsedEnd = nullptr;
    const double value = std::strtod(number.c_str(), &parsedEnd);
    if (number.empty() || number.front() == '.' || number.back() == '.' ||
        parsedEnd != number.c_str() + number.size() || !std::isfinite(value) ||
        value * static_cast<double>(multiplier) > 9.0e18) {
        return false;
    }
    ouBytes = std::llrint(value * static_cast<double>(multiplier));
    return true;
}

std::string CliOptions::ByteSizeText(int64_t agBytes) {
    for (const UnitRow& unit : {UnitRow{"GiB", kGiB}, UnitRow{"MiB", kMiB}, UnitRow{"KiB", kKiB}}) {
        if (agBytes != 0 && agBytes % unit.Bytes == 0) {
            return std::to_string(agBytes / unit.Bytes) + " " + unit.Name;
        }
    }
    return std::to_string(agBytes) + " B";
}

std::string CliOptions::NamingText(int64_t agHowToName) {
    for (const NamingRow& naming : kNamings) {
        if (naming.HowToName == agHowToName) {
            return naming.Name;
        }
    }
    return {};
}
