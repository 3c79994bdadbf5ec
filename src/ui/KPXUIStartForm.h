#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class KPXUIStartForm;
}

// The splash shown while the settings load and the main window is built: a borderless white
// window centred on the screen with the program's picture, name, version and copyright. Its
// owner shows it, keeps it above the others and closes it; closing does not delete it.
class KPXUIStartForm : public QWidget {
    Q_OBJECT

public:
    // The version detail that precedes major.minor.revision.
    static constexpr const char* kDetailCaption = "ﾊﾞｰｼﾞｮﾝ詳細: ";

    KPXUIStartForm();
    ~KPXUIStartForm() override;

    // True from the splash's show until its close.
    bool Running() const { return running_; }

protected:
    void showEvent(QShowEvent* agEvent) override;
    void closeEvent(QCloseEvent* agEvent) override;

private:
    std::unique_ptr<Ui::KPXUIStartForm> ui_;
    bool running_ = false;
};
