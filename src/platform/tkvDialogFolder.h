#pragma once

#include <cstdint>
#include <string>

class QWidget;

// The dialog that picks an existing folder. SelectedAddress is set only when the user
// confirms a folder of the file system.
class tkvDialogFolder {
public:
    // BIF_RETURNONLYFSDIRS, the flag every caller passes.
    static constexpr int32_t kFileSystemFoldersOnly = 1;

    // True when the user confirmed an existing folder; false, SelectedAddress untouched, on a
    // cancel or anything else.
    bool ShowDialog();

    QWidget* WindowHandle() const { return windowHandle_; }
    void SetWindowHandle(QWidget* agValue) { windowHandle_ = agValue; }
    // The instruction shown in the dialog.
    const std::string& Comment() const { return comment_; }
    void SetComment(const std::string& agValue) { comment_ = agValue; }
    int32_t Flags() const { return flags_; }
    void SetFlags(int32_t agValue) { flags_ = agValue; }
    // The dialog's caption; empty keeps the platform's.
    const std::string& WindowText() const { return windowText_; }
    void SetWindowText(const std::string& agValue) { windowText_ = agValue; }
    // The folder to start in; empty for none.
    const std::string& FileAddressOfStart() const { return fileAddressOfStart_; }
    void SetFileAddressOfStart(const std::string& agValue) { fileAddressOfStart_ = agValue; }

    const std::string& SelectedAddress() const { return selectedAddress_; }

private:
    QWidget* windowHandle_ = nullptr;
    std::string comment_;
    int32_t flags_ = 0;
    std::string windowText_;
    std::string fileAddressOfStart_;
    std::string selectedAddress_;
};
