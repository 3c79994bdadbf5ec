#include "CliOptions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

bool CliOptions::Parse(const std::vector<std::string>& agArguments) {
    bool optionsEnded = false;
    for (size_t i = 0; i < agArguments.size(); ++i) {
        const std::string& word = agArguments[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            positional_.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (flags_.count(word) != 0) {
            given_.insert(word);
        } else if (valued_.count(word) != 0) {
            if (i + 1 == agArguments.size()) {
                error_ = word + " needs a value";
                return false;
            }
            given_.insert(word);
            values_[word] = agArguments[++i];
        } else {
            error_ = "unknown option: " + word;
            return false;
        }
    }
    return true;
}

bool CliOptions::Has(const std::string& agName) const { return given_.count(agName) != 0; }

std::string CliOptions::Value(const std::string& agName, const std::string& agDefault) const {
    const auto found = values_.find(agName);
    return found == values_.end() ? agDefault : found->second;
}

bool CliOptions::ParseWholeNumber(const std::string& agText, int64_t& ouNumber) {
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
    if (unit.empty() || unit == "B") {
        multiplier = 1;
    } else if (unit == "KB") {
        multiplier = 1024;
    } else if (unit == "MB") {
        multiplier = 1024 * 1024;
    } else if (unit == "GB") {
        multiplier = 1024 * 1024 * 1024;
    } else {
        return false;
    }
    int64_t whole = 0;
    if (ParseWholeNumber(number, whole)) {
        if (whole > INT64_MAX / multiplier) {
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

std::set<std::string> CliOptions::JobFlags() {
    return {"--no-confirm-size", "--keep-partial", "--force", "--estimate"};
}

std::set<std::string> CliOptions::JobValued() { return {"-o", "--block", "--html"}; }

bool CliOptions::JobOptions(CliJobOptions& ouOptions) {
    // The largest copy block the settings allow.
    constexpr int64_t kMaxBlock = 64 * 1024 * 1024;
    if (Has("--block")) {
        int64_t block = 0;
        if (!ParseByteSize(Value("--block"), block) || block < 1 || block > kMaxBlock) {
            error_ = "--block must be 1 byte to 64 MB";
            return false;
        }
        ouOptions.BlockSize = static_cast<int32_t>(block);
    }
    if (Has("--html") && Value("--html").empty()) {
        error_ = "--html needs a file";
        return false;
    }
    if (Value("-o").empty()) {
        error_ = "-o DIR is required";
        return false;
    }
    ouOptions.ConfirmSize = !Has("--no-confirm-size");
    ouOptions.ClearCreatedFiles = !Has("--keep-partial");
    ouOptions.Force = Has("--force");
    ouOptions.Estimate = Has("--estimate");
    ouOptions.HtmlFile = Value("--html");
    return true;
}
