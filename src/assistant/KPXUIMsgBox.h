#pragma once

#include <cstdint>
#include <string>

// The question before an existing file is replaced: "はい(&Y)" answers 1, "以降全て(&A)" 2,
// "実行をｷｬﾝｾﾙ(&C)" 3; a box closed otherwise answers anything else.
class KPXUIMsgBox {
public:
    static constexpr int32_t kYes = 1;
    static constexpr int32_t kAllYes = 2;
    static constexpr int32_t kCancel = 3;

    virtual ~KPXUIMsgBox() = default;
    // Asks about agAddress, modal over the main window; waits for the answer.
    virtual int32_t MsgBox(const std::string& agAddress) = 0;
};
