#pragma once

#include <cstdint>
#include <string>

class QWidget;

// The dialog that picks a file. Configured through its properties, run by ShowDialogOfOpen
// (an existing file only) or ShowDialogOfSave (any name but a folder's); the results are set
// only when the user confirms.
class tkvDialogFile {
public:
    // OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, the flags every caller passes.
    static constexpr int32_t kFileMustExist = 4100;

    bool ShowDialogOfOpen();
    bool ShowDialogOfSave();

    // The owner window; none for a window of its own.
    QWidget* WindowHandle() const { return windowHandle_; }
    void SetWindowHandle(QWidget* agValue) { windowHandle_ = agValue; }
    // Description, NUL, pattern, NUL, and so on ("すべてのﾌｧｲﾙ(*.*)\0*.*\0"). "*.*" matches
    // every name, as on Windows, also one without a dot.
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& agValue) { filter_ = agValue; }
    // The filter to preselect, 0 for the first; SelectedFilterIndex counts the same way.
    int32_t FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int32_t agValue) { filterIndex_ = agValue; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& agValue) { title_ = agValue; }
    int32_t Flags() const { return flags_; }
    void SetFlags(int32_t agValue) { flags_ = agValue; }
    const std::string& DefaultFileName() const { return defaultFileName_; }
    void SetDefaultFileName(const std::string& agValue) { defaultFileName_ = agValue; }
    const std::string& FileAddressOfStart() const { return fileAddressOfStart_; }
    void SetFileAddressOfStart(const std::string& agValue) { fileAddressOfStart_ = agValue; }
    const std::string& DefaultExtension() const { return defaultExtension_; }
    void SetDefaultExtension(const std::string& agValue) { defaultExtension_ = agValue; }

    const std::string& SelectedFileName() const { return selectedFileName_; }
    const std::string& SelectedAddress() const { return selectedAddress_; }
    int32_t SelectedFilterIndex() const { return selectedFilterIndex_; }

private:
    bool Show(bool agOpen);

    QWidget* windowHandle_ = nullptr;
    std::string filter_;
    int32_t filterIndex_ = 0;
    std::string title_;
    int32_t flags_ = 0;
    std::string defaultFileName_;
    std::string fileAddressOfStart_;
    std::string defaultExtension_;
    std::string selectedFileName_;
    std::string selectedAddress_;
    int32_t selectedFilterIndex_ = 0;
};
