#pragma once

#include <cstdint>
#include <string_view>

#include "KPXPieceFormat.h"

// The layout of the settings file "KPXUtil.dat", little-endian, no padding, nothing after the
// last field:
//
//   versioned block   product name, product comment, file kind (length-prefixed texts), version
//   BasePositionX, BasePositionY                  32-bit each, twips
//   ConfirmFileSize, ConfirmDividoraSize          boolean each (16-bit -1/0)
//   TransmissionByteSize                          32-bit
//   ClearCreatedFileWhenUncompleted               boolean
//   UpperCountToWarn, HowToNameDividora, HowToSeparate, SeparateFileModeFileSizeUnit
//                                                 32-bit each
//   DialogToEstimateRestoring                     boolean
//   WhenRestoringFailed                           32-bit
//   CheckVersion, NoticeWhenVersionChecked        boolean each
//   FrequencyOfCheckingVersion                    32-bit
//   IsVersionChecked                              boolean
//   LastTimeVersionChecked                        8-byte date
namespace KPXUtilFormat {

inline constexpr std::string_view kFileName = "KPXUtil.dat";

inline constexpr std::string_view kProductName = KPXPieceFormat::kProductName;
inline constexpr std::string_view kProductComment = KPXPieceFormat::kProductComment;
inline constexpr std::string_view kFileKind = "Tarno.K.V. File for Utility of Dividora Application";
inline constexpr int32_t kFileVersion = 8;

// The versioned block is the piece file's but for the file kind.
inline constexpr int32_t kVersionBlockSize =
    KPXPieceFormat::kVersionBlockSize - static_cast<int32_t>(KPXPieceFormat::kFileKind.size()) +
    static_cast<int32_t>(kFileKind.size());
static_assert(kVersionBlockSize == 109);

inline constexpr int32_t kFieldsSize = 9 * 4    // the 32-bit fields
                                       + 7 * 2  // the booleans
                                       + 8;     // LastTimeVersionChecked
static_assert(kFieldsSize == 58);

inline constexpr int32_t kFileSize = kVersionBlockSize + kFieldsSize;

}  // namespace KPXUtilFormat
