#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class KPXUIChecked;
}

// The notice that a version check found this program to be the newest version. Modeless over
// the main window, one at a time, deleted when it closes.
class KPXUIChecked : public QDialog {
    Q_OBJECT

public:
    // Shows the notice over agOwner (may be none), or brings the open one forward; answers the
    // window, which lives until it is closed.
    static KPXUIChecked* ShowNotice(QWidget* agOwner);
    // The open notice; none when it is closed.
    static KPXUIChecked* OpenNotice();

    ~KPXUIChecked() override;

private:
    explicit KPXUIChecked(QWidget* agOwner);

    std::unique_ptr<Ui::KPXUIChecked> ui_;
};
