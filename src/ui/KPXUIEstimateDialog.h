#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "KPXUIEstimate.h"

namespace Ui {
class KPXUIEstimateDialog;
}

// The offer of a restore estimate after a failed restore, modal over its owner: "はい(&Y)"
// answers kYes, "いいえ(&N)" kNo, closing the window otherwise 0.
class KPXUIEstimateDialog : public QDialog, public KPXUIEstimate {
    Q_OBJECT

public:
    // Closed by the close box or Escape.
    static constexpr int32_t kClosed = 0;

    // agOwner may be none; the window is its owner's child and goes with it.
    explicit KPXUIEstimateDialog(QWidget* agOwner);
    ~KPXUIEstimateDialog() override;

    // Asks with the box unticked; ouShowAgain is false when the box was ticked at the close,
    // however the window was closed.
    int32_t MsgBox(bool& ouShowAgain) override;

private:
    std::unique_ptr<Ui::KPXUIEstimateDialog> ui_;
    int32_t answer_ = kClosed;
};
