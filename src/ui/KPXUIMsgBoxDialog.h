#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "KPXUIMsgBox.h"

namespace Ui {
class KPXUIMsgBoxDialog;
}

// The question before an existing file is replaced, modal over its owner: "はい(&Y)" answers
// kYes, "以降全て(&A)" kAllYes, "実行をｷｬﾝｾﾙ(&C)" or closing the window otherwise kCancel.
class KPXUIMsgBoxDialog : public QDialog, public KPXUIMsgBox {
    Q_OBJECT

public:
    // agOwner may be none; the window is its owner's child and goes with it.
    explicit KPXUIMsgBoxDialog(QWidget* agOwner);
    ~KPXUIMsgBoxDialog() override;

    // Shows agAddress, shortened to the label's width, and waits for the answer.
    int32_t MsgBox(const std::string& agAddress) override;

private:
    std::unique_ptr<Ui::KPXUIMsgBoxDialog> ui_;
    int32_t answer_ = kCancel;
};
