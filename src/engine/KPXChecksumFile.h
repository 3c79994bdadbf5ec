#pragma once

#include <cstdint>
#include <string>
#include <vector>

class KPXDividoraData;

// The checksum file a split writes beside its pieces, NAME.xxh128. After one line that xxhsum
// passes over, it holds one line per piece in join order, "<digest>  <piece file name>", which
// `xxhsum -H2 -c NAME.xxh128` checks in the pieces' folder:
//
//   # dividora-set <SpecID> <SepaDate's 64 bits, hex> <Count> <source digest> <self check>
//   0123...(32 hexadecimal digits)  photo1.KPX
//
// The digests are XXH3-128 of each whole piece file and of the whole source file. The self
// check, the first 16 digits of the digest of the set's fields and the piece lines, catches a
// damaged checksum file before it can call a sound piece bad. The piece format itself is
// unchanged: the file only stands beside the pieces.
class KPXChecksumFile {
public:
    struct Line {
        std::string Digest;
        std::string Name;
    };

    static constexpr const char* kExtension = ".xxh128";
    // The largest file read: far more than the lines of the most pieces a split makes.
    static constexpr int64_t kSizeLimit = 64 * 1024 * 1024;

    int32_t SpecID = 0;
    double SepaDate = 0.0;
    int32_t Count = 0;
    std::string SourceDigest;
    std::vector<Line> Pieces;

    // The text of the file.
    std::string ToText() const;
    // Reads a text written by ToText; false for anything else, a damaged one included.
    bool FromText(const std::string& agText);
    // Reads the file at agPath; false when it cannot be read or is no sound checksum file.
    bool Read(const std::string& agPath);

    // Whether it was written by the split that made agRecord.
    bool Belongs(const KPXDividoraData& agRecord) const;

    // Whether a quick look at the file at agPath, without the self check, finds a checksum file
    // of ours that names agRecord's split or one of agPieceNames: how the checksum file of a
    // set is told among other files. Other programs' checksum files are never ours.
    static bool MayBelong(const std::string& agPath, const KPXDividoraData& agRecord,
                          const std::vector<std::string>& agPieceNames);

    // The checksum file a split of agSource writes into agFolder: NAME.xxh128, NAME being the
    // pieces' name, or the source's name without its extension when that is empty.
    static std::string AddressOfSplit(const std::string& agFolder, const std::string& agName,
                                      const std::string& agSource);
};
