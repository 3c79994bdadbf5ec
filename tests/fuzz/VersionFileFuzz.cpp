// Fuzz target: any bytes as the version file the maker's server publishes. tkvCheckVersion
// reads them as the body of its request and compares the version they announce with the
// running program's.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "DividoraVersion.h"
#include "FuzzInvariant.h"
#include "KPXUtilFormat.h"
#include "tkvCheckVersion.h"
#include "tkvLittleEndian.h"

using FuzzInvariant::Require;

namespace {

struct Version {
    int32_t Major = 0;
    int32_t Minor = 0;
    int32_t Revision = 0;

    auto Tied() const { return std::tie(Major, Minor, Revision); }
};

// What the check found: the server's version when the file was read and names the client's
// product, none otherwise.
struct Outcome {
    std::optional<Version> Server;
    double Released = 0.0;
    bool UpDated = false;

    bool operator==(const Outcome& agOther) const {
        const bool sameServer = Server.has_value() == agOther.Server.has_value() &&
                                (!Server || Server->Tied() == agOther.Server->Tied());
        return sameServer && UpDated == agOther.UpDated &&
               (!Server || std::memcmp(&Released, &agOther.Released, sizeof Released) == 0);
    }
};

Outcome CheckAs(const Version& agClient, std::string_view agBytes) {
    tkvCheckVersion check;
    check.SetClientProductName(std::string(KPXUtilFormat::kProductName));
    check.SetClientMajor(agClient.Major);
    check.SetClientMinor(agClient.Minor);
    check.SetClientRevision(agClient.Revision);
    Outcome outcome;
    if (check.CheckVersionFile(std::string(agBytes))) {
        outcome.Server = Version{check.ServerMajor(), check.ServerMinor(), check.ServerRevision()};
        outcome.Released = check.ServerUpdatedTime();
        Require(check.ServerProductName() == KPXUtilFormat::kProductName,
                "a check that succeeds read the client's product name");
    }
    outcome.UpDated = check.IsUpDated();
    Require(outcome.Server || !outcome.UpDated, "a check that fails finds no newer version");
    return outcome;
}

void AppendText(std::string& ioBytes, std::string_view agText) {
    unsigned char length[4];
    tkvLittleEndian::Encode(static_cast<int32_t>(agText.size()), length);
    ioBytes.append(reinterpret_cast<const char*>(length), sizeof length);
    ioBytes.append(agText);
}

// The file's two texts as the client expects them (tkvCheckVersion.h); the numbers and the
// date follow.
std::string ExpectedTexts() {
    std::string texts;
    AppendText(texts, tkvCheckVersion::kMagicText);
    AppendText(texts, KPXUtilFormat::kProductName);
    return texts;
}

template <typename T>
T ValueAt(std::string_view agBytes, size_t agOffset) {
    return tkvLittleEndian::Decode<T>(reinterpret_cast<const unsigned char*>(agBytes.data()) +
                                      agOffset);
}

// Versions next to agServer, one component at a time, where 32 bits can hold them.
void CheckNeighbours(const Version& agServer, std::string_view agBytes) {
    int32_t Version::*const components[] = {&Version::Major, &Version::Minor, &Version::Revision};
    for (int32_t Version::*component : components) {
        if (agServer.*component > INT_MIN) {
            Version older = agServer;
            older.*component -= 1;
            Require(CheckAs(older, agBytes).UpDated,
                    "a client one step lower in one component sees a newer version");
        }
        if (agServer.*component < INT_MAX) {
            Version newer = agServer;
            newer.*component += 1;
            Require(!CheckAs(newer, agBytes).UpDated,
                    "a client one step higher in one component sees no newer version");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* agData, size_t agSize) {
    static const std::string expectedTexts = ExpectedTexts();
    const std::string_view bytes(reinterpret_cast<const char*>(agData), agSize);
    const Version program{DividoraVersion::kMajor, DividoraVersion::kMinor,
                          DividoraVersion::kRevision};

    const Outcome outcome = CheckAs(program, bytes);
    // Three numbers and a date follow the texts; nothing after them is read.
    const size_t wholeLength = expectedTexts.size() + 3 * 4 + 8;
    const bool laidOut = bytes.size() >= wholeLength && bytes.starts_with(expectedTexts);
    Require(outcome.Server.has_value() == laidOut,
            "a check succeeds exactly on the magic text, the product and every number");
    Require(CheckAs(program, bytes) == outcome, "the same bytes check the same way again");
    if (!outcome.Server) {
        return 0;
    }

    const Version server = *outcome.Server;
    const size_t at = expectedTexts.size();
    const double released = ValueAt<double>(bytes, at + 12);
    Require(server.Major == ValueAt<int32_t>(bytes, at) &&
                server.Minor == ValueAt<int32_t>(bytes, at + 4) &&
                server.Revision == ValueAt<int32_t>(bytes, at + 8) &&
                std::memcmp(&outcome.Released, &released, sizeof released) == 0,
            "the numbers and the release time are read where the layout puts them");
    Require(outcome.UpDated == (server.Tied() > program.Tied()),
            "newer means greater in major, then minor, then revision");
    Require(CheckAs(program, bytes.substr(0, wholeLength)) == outcome,
            "bytes after the release time change nothing");
    Require(!CheckAs(program, bytes.substr(0, wholeLength - 1)).Server,
            "a file cut inside the release time fails");
    Require(!CheckAs(server, bytes).UpDated, "the same version is not newer");
    Require(server.Tied() == std::make_tuple(INT_MIN, INT_MIN, INT_MIN) ||
                CheckAs(Version{INT_MIN, INT_MIN, INT_MIN}, bytes).UpDated,
            "every other version is newer than the lowest");
    Require(!CheckAs(Version{INT_MAX, INT_MAX, INT_MAX}, bytes).UpDated,
            "no version is newer than the highest");
    CheckNeighbours(server, bytes);
    return 0;
}
