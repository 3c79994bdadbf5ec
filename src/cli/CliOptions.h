#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// The options split and restore share.
struct CliJobOptions {
    int32_t BlockSize = 1048576;
    bool ConfirmSize = true;
    bool ClearCreatedFiles = true;
    bool Force = false;
    bool Estimate = false;
    std::string HtmlFile;
};

// The arguments of one command: positional words, flags and options with a value. Options are
// given as "--name VALUE" or "-n VALUE"; "--" ends the options.
class CliOptions {
public:
    // agFlags and agValued list the known names (with their dashes).
    CliOptions(std::set<std::string> agFlags, std::set<std::string> agValued)
        : flags_(std::move(agFlags)), valued_(std::move(agValued)) {}

    // False with Error() for an unknown option or a missing value.
    bool Parse(const std::vector<std::string>& agArguments);
    const std::string& Error() const { return error_; }

    const std::vector<std::string>& Positional() const { return positional_; }
    bool Has(const std::string& agName) const;
    // The value of an option given once (the last one when repeated); agDefault without it.
    std::string Value(const std::string& agName, const std::string& agDefault = {}) const;

    // The shared options of split and restore; false with Error() for a bad value.
    bool JobOptions(CliJobOptions& ouOptions);
    // The names JobOptions reads, for the constructor.
    static std::set<std::string> JobFlags();
    static std::set<std::string> JobValued();

    // A byte count with an optional unit B, KB, MB or GB (1024-based); a fraction is rounded to
    // the nearest byte. False for anything else or a negative value.
    static bool ParseByteSize(const std::string& agText, int64_t& ouBytes);
    // A whole number; false for anything else.
    static bool ParseWholeNumber(const std::string& agText, int64_t& ouNumber);

private:
    std::set<std::string> flags_;
    std::set<std::string> valued_;
    std::vector<std::string> positional_;
    std::set<std::string> given_;
    std::map<std::string, std::string> values_;
    std::string error_;
};
