#include "tkvRunFileName.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <random>

#include "tkvDigest.h"

namespace {

constexpr std::string_view kPartSuffix = ".dividora-part";
constexpr std::string_view kKeptSuffix = ".dividora-old";
constexpr std::string_view kRecordSuffix = ".dividora-run";

// The longest file name the common file systems take, in bytes.
constexpr size_t kNameLimit = 255;
// What a cut name carries of the whole one: "~" and 16 digits of its digest.
constexpr size_t kCutTagLength = 17;
// The room for a final name beside the leading ".", "." + tag and the longer suffix.
constexpr size_t kRoomForName =
    kNameLimit - 2 - tkvRunFileName::kTagLength - std::max(kPartSuffix.size(), kKeptSuffix.size());

std::string_view SuffixOf(tkvRunFileName::Kind agKind) {
    switch (agKind) {
        case tkvRunFileName::Kind::kPart:
            return kPartSuffix;
        case tkvRunFileName::Kind::kKept:
            return kKeptSuffix;
        case tkvRunFileName::Kind::kRecord:
            break;
    }
    return kRecordSuffix;
}

std::string NamePart(std::string_view agFinalName) {
    if (agFinalName.size() <= kRoomForName) {
        return std::string(agFinalName);
    }
    size_t end = kRoomForName - kCutTagLength;
    while (end > 0 && (static_cast<unsigned char>(agFinalName[end]) & 0xC0) == 0x80) {
        --end;  // not inside a UTF-8 sequence
    }
    return std::string(agFinalName.substr(0, end)) + "~" +
           tkvDigest::Of(std::string(agFinalName)).substr(0, kCutTagLength - 1);
}

bool IsTag(std::string_view agText) {
    return agText.size() == tkvRunFileName::kTagLength &&
           std::all_of(agText.begin(), agText.end(), [](char agDigit) {
               return (agDigit >= '0' && agDigit <= '9') || (agDigit >= 'a' && agDigit <= 'f');
           });
}

}  // namespace

std::string tkvRunFileName::NewTag() {
    std::random_device entropy;
    const uint64_t value = (uint64_t{entropy()} << 32) ^ uint64_t { entropy() };
    char text[kTagLength + 1];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

std::string tkvRunFileName::Of(Kind agKind, std::string_view agFinalName, std::string_view agTag) {
    const std::string tagged = "." + std::string(agTag) + std::string(SuffixOf(agKind));
    return agKind == Kind::kRecord ? tagged : "." + NamePart(agFinalName) + tagged;
}

bool tkvRunFileName::Parse(std::string_view agName, Kind& ouKind, std::string& ouTag) {
    for (const Kind kind : {Kind::kPart, Kind::kKept, Kind::kRecord}) {
        const std::string_view suffix = SuffixOf(kind);
        // The shortest name of a kind is the record's: "." + tag + suffix.
        if (agName.size() < 1 + kTagLength + suffix.size() || agName.front() != '.' ||
            !agName.ends_with(suffix)) {
            continue;
        }
        const std::string_view rest = agName.substr(0, agName.size() - suffix.size());
        const std::string_view tag = rest.substr(rest.size() - kTagLength);
        const std::string_view before = rest.substr(0, rest.size() - kTagLength);
        // A record is "." + tag; the others "." + at least one byte of name + "." + tag.
        const bool shaped =
            kind == Kind::kRecord ? before == "." : before.size() >= 3 && before.back() == '.';
        if (!shaped || !IsTag(tag)) {
            return false;
        }
        ouKind = kind;
        ouTag = std::string(tag);
        return true;
    }
    return false;
}

bool tkvRunFileName::IsRunFileName(std::string_view agName) {
    Kind kind{};
    std::string tag;
    return Parse(agName, kind, tag);
}
