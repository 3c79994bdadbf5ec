#pragma once

#include <QDialog>
#include <memory>
#include <string>

class tkvCheckVersion;

namespace Ui {
class KPXUIRenewable;
}

// The notice that a version check found a newer published version, with the offer to open
// the page on updating. Modeless over the main window, one at a time, deleted when it closes.
class KPXUIRenewable : public QDialog {
    Q_OBJECT

public:
    // Shows agCheck's versions and date over agOwner (may be none), or brings the open notice
    // forward with agCheck's values; "はい(&Y)" opens agHowToUpdateAddress. Answers the
    // window, which lives until it is closed.
    static KPXUIRenewable* ShowNotice(QWidget* agOwner, const tkvCheckVersion& agCheck,
                                      const std::string& agHowToUpdateAddress);
    // The open notice; none when it is closed.
    static KPXUIRenewable* OpenNotice();

    // The publication date as the notice shows it: "2005年 3月 7日"; empty for a value that
    // is no date.
    static std::string UpDatedDateText(double agDate);

    ~KPXUIRenewable() override;

private:
    explicit KPXUIRenewable(QWidget* agOwner);
    void ShowCheck(const tkvCheckVersion& agCheck, const std::string& agHowToUpdateAddress);
    void cmdYes_Click();

    std::unique_ptr<Ui::KPXUIRenewable> ui_;
    std::string howToUpdateAddress_;
};
