#include "tkvVerRWCtrl.h"

#include <stdexcept>

#include "tkvFileRWCtrl.h"
#include "tkvStringControl.h"

bool tkvVerRWCtrl::Save() {
    return fileRWCtrl_->SetString(productName_) && fileRWCtrl_->SetString(productComment_) &&
           fileRWCtrl_->SetString(fileKind_) && fileRWCtrl_->SetLong(fileVersion_);
}

int32_t tkvVerRWCtrl::Check() {
    std::string name;
    std::string comment;
    std::string kind;
    int32_t version = 0;
    if (!fileRWCtrl_->GetStringChecking(kLiteralLimit, name) ||
        !fileRWCtrl_->GetStringChecking(kLiteralLimit, comment) ||
        !fileRWCtrl_->GetStringChecking(kLiteralLimit, kind) || !fileRWCtrl_->GetLong(version)) {
        return kForeign;
    }
    if (name != productName_ || comment != productComment_ || kind != fileKind_) {
        return kForeign;
    }
    if (version < fileVersion_) {
        return kOlder;
    }
    return version > fileVersion_ ? kNewer : kSame;
}

int32_t tkvVerRWCtrl::GetSizeOfVersion() const {
    int64_t size = 16;
    for (const std::string* text : {&productName_, &productComment_, &fileKind_}) {
        int32_t length = 0;
        if (!tkvStringControl::GetByteLength(*text, length)) {
            throw std::overflow_error("tkvVerRWCtrl: a literal has no CP932 form");
        }
        size += length;
    }
    if (size > INT32_MAX) {
        throw std::overflow_error("tkvVerRWCtrl: the block size does not fit 32 bits");
    }
    return static_cast<int32_t>(size);
}
