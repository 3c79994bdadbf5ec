#pragma once

#include <string>
#include <string_view>

// The hidden names of the files a split or restore keeps in an output folder while it runs:
//
//   .NAME.TAG.dividora-part   a file being written, NAME being its final name
//   .NAME.TAG.dividora-old    a file it replaces, kept until every final name is given
//   .TAG.dividora-run         the run's record, locked while the run lives
//
// TAG is 16 hexadecimal digits drawn at random for each run. A name of the first two forms
// belongs to a run only when the folder holds that run's record, so a user's file that merely
// looks like one is never taken for a run's file.
class tkvRunFileName {
public:
    enum class Kind { kPart, kKept, kRecord };

    static constexpr size_t kTagLength = 16;

    // A new random tag.
    static std::string NewTag();
    // The name of agKind for the final name agFinalName (not used for a record) of run agTag.
    // A final name too long for the file system is cut at a character boundary and tagged with
    // a digest of the whole name, so the pieces of one long name never share a name.
    static std::string Of(Kind agKind, std::string_view agFinalName, std::string_view agTag);
    // Whether agName has one of the three forms, with its kind and tag.
    static bool Parse(std::string_view agName, Kind& ouKind, std::string& ouTag);
    // Whether agName has one of the three forms: never a piece or a checksum file of a set.
    static bool IsRunFileName(std::string_view agName);
};
