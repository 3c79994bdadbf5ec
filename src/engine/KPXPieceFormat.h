#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

#include "tkvVerRWCtrl.h"

class KPXDividoraData;
class tkvFileRWCtrl;

// The layout of a piece file (".KPX"), little-endian, no padding:
//
//   versioned block   product name, product comment, file kind (length-prefixed texts), version
//   SepaDate          8-byte date
//   SpecID            32-bit
//   TurnID            32-bit, from 0
//   Count             32-bit
//   FileName          32-bit character count, then the name's CP932 bytes
//   FileSize          32-bit, the number of data bytes that follow
//   data              FileSize bytes of the source
namespace KPXPieceFormat {

inline constexpr std::string_view kProductName = "Tarno.K.V. Dividora";
inline constexpr std::string_view kProductComment = "Tarno.K.V. Soft by R.N.";
inline constexpr std::string_view kFileKind = "Tarno.K.V. Separated File by Dividora Application";
inline constexpr int32_t kFileVersion = 1;

inline constexpr int32_t kVersionBlockSize =
    static_cast<int32_t>(4 + kProductName.size()       // product name and its length
                         + 4 + kProductComment.size()  // product comment and its length
                         + 4 + kFileKind.size()        // file kind and its length
                         + 4);                         // format version
static_assert(kVersionBlockSize == 107);

// The header fields after the versioned block, without the name's bytes.
inline constexpr int32_t kSplitFieldsSize = 8     // SepaDate
                                            + 4   // SpecID
                                            + 4   // TurnID
                                            + 4   // Count
                                            + 4   // FileName's length
                                            + 4;  // FileSize
static_assert(kSplitFieldsSize == 28);

// A header is kVersionBlockSize + kSplitFieldsSize + the name's CP932 byte length.
inline constexpr int32_t kHeaderSizeWithoutName = kVersionBlockSize + kSplitFieldsSize;

// The longest FileName a reader accepts, in characters.
inline constexpr int32_t kFileNameLimit = 256;

// FileSize is a 32-bit field: the most data one piece can carry.
inline constexpr int64_t kMaxDataSize = std::numeric_limits<int32_t>::max();

// The versioned block of a piece file on agFile (none: only for its size).
tkvVerRWCtrl VersionBlock(tkvFileRWCtrl* agFile);

// The split fields after the versioned block, written and read in the one order above.
// EncodeFields answers false when a field cannot be written (a name CP932 cannot carry);
// DecodeFields stores each field into agRecord as soon as it is read and answers false at the
// first that cannot be read. Failures of the file system raise tkvFileError.
bool EncodeFields(const KPXDividoraData& agRecord, tkvFileRWCtrl& agFile);
bool DecodeFields(tkvFileRWCtrl& agFile, KPXDividoraData& agRecord);
// True when both records were made by the same split run: the same identifier and date, the
// date compared as stored, bit for bit (a stored NaN date is equal to itself). Every place that
// tells sets apart asks this; the first form takes the run's fields from elsewhere (a checksum
// file, a set found).
bool SameSplit(int32_t agSpecID, double agSepaDate, const KPXDividoraData& agRecord);
bool SameSplit(const KPXDividoraData& agA, const KPXDividoraData& agB);
// True when both records carry the same split fields, bit for bit (a stored NaN date included).
bool SameFields(const KPXDividoraData& agA, const KPXDividoraData& agB);

}  // namespace KPXPieceFormat
