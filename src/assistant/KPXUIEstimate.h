#pragma once

#include <cstdint>

// The offer of a restore estimate after a restore failed: "はい(&Y)" answers 1, "いいえ(&N)" 2;
// ouShowAgain is false when the user ticked "今後、このﾀﾞｲｱﾛｸﾞを表示しない。".
class KPXUIEstimate {
public:
    static constexpr int32_t kYes = 1;
    static constexpr int32_t kNo = 2;

    virtual ~KPXUIEstimate() = default;
    virtual int32_t MsgBox(bool& ouShowAgain) = 0;
};
