#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class KPXUIDividoraDetail;
}

// What the header of one piece of the restore list says: split identifier, piece count, join
// position, split date, source name and data size. Modal over the main window; it reads
// headers only and never changes the list it was given.
class KPXUIDividoraDetail : public QDialog {
    Q_OBJECT

public:
    // Shown in the six value labels when the entry's header cannot be read.
    static constexpr const char* kNotReadText = "読み込みできませんでした。";
    static constexpr const char* kCaptionTail = "分割ﾌｧｲﾙの詳細";

    // agAddresses: the restore list, in its order. agIndexToWatch: the entry to show, counted
    // from 0; -1 (or any number outside the list) for none. agOwner may be none.
    KPXUIDividoraDetail(QWidget* agOwner, const std::vector<std::string>& agAddresses,
                        const std::string& agProductName, int32_t agIndexToWatch);
    ~KPXUIDividoraDetail() override;

    // The entry shown; a click in the window's list changes it.
    int32_t IndexToWatch() const { return indexToWatch_; }
    // Shows entry agValue.
    void SetIndexToWatch(int32_t agValue);

    // Runs the window modally over its owner until it is closed.
    void Show();

private:
    // Fills the address and the six value labels for IndexToWatch.
    void ShowDividoraDetail();
    void ShowNotRead();
    void lstSepaAddress_Click(int agRow);

    std::unique_ptr<Ui::KPXUIDividoraDetail> ui_;
    std::vector<std::string> addresses_;
    int32_t indexToWatch_ = -1;
    // Set while the labels are filled: selecting the entry fires the list's handler, which
    // must not fill them again.
    bool busy_ = false;
};
