#include "KPXUIStartModule.h"

#include <QCoreApplication>
#include <iostream>
#include <memory>

#include "KPXUIBase.h"
#include "KPXUISepaMng.h"
#include "KPXUIStartClass.h"
#include "tkvMessageBox.h"
#include "tkvQtBackgroundWork.h"

namespace KPXUIStartModule {

namespace {

std::unique_ptr<KPXUIStartClass> startClass;
bool inMain = false;
bool inQuit = false;

// Tells the user that the settings were not written, and why: in a message box over the main
// window, and on the standard error, which stays when the box is gone and is all there is where
// nobody sees the window.
void ReportFailedSave(const KPXUISepaMng& agSepaMng, QWidget* agOwner) {
    const std::string failed = "設定ファイルを保存できませんでした。";
    const std::string& reason = agSepaMng.SaveFailureReason();
    std::string line = failed + " " + agSepaMng.FileAddressOfUtility();
    std::string text = failed + "\r\n" + agSepaMng.FileAddressOfUtility();
    if (!reason.empty()) {
        line += ": " + reason;
        text += "\r\n" + reason;
    }
    std::cerr << QCoreApplication::applicationName().toStdString() << ": " << line << '\n';
    tkvMessageBox::Show(agOwner, text, tkvMessageBox::Icon::kError, tkvMessageBox::Buttons::kOK);
}

// The argument text as the system passes it after the program's name.
std::string ArgumentText(const std::vector<std::string>& agArguments) {
    std::string text;
    for (const std::string& argument : agArguments) {
        text += (text.empty() ? "" : " ") + argument;
    }
    return text;
}

}  // namespace

bool HandleUninstallSwitch(const std::vector<std::string>& agArguments,
                           const KPXUtilSettings* agSettings) {
    // Constructing the settings only locates the files; it loads nothing.
    const KPXUtilSettings programs;
    const KPXUtilSettings& settings = agSettings != nullptr ? *agSettings : programs;
    bool failed = false;
    if (!settings.RemoveSettingsForUninstall(ArgumentText(agArguments), failed)) {
        return false;
    }
    if (failed) {
        tkvMessageBox::Show(nullptr, "設定ファイルを削除できませんでした。",
                            tkvMessageBox::Icon::kError, tkvMessageBox::Buttons::kOK);
    }
    return true;
}

bool Main(const std::vector<std::string>& agArguments) {
    if (inMain) {
        return false;
    }
    inMain = true;
    bool run = false;
    if (!HandleUninstallSwitch(agArguments)) {
        auto start = std::make_unique<KPXUIStartClass>(agArguments);
        start->SetBackgroundWork(std::make_shared<tkvQtBackgroundWork>());
        // Its result is not examined: a settings file that cannot be read loads the defaults.
        Start(std::move(start));
        run = true;
    }
    inMain = false;
    return run;
}

bool Start(std::unique_ptr<KPXUIStartClass> agStartClass, std::shared_ptr<KPXUISepaMng> agSepaMng) {
    startClass = std::move(agStartClass);
    return startClass->StartApplication(std::move(agSepaMng));
}

bool QuitApplication() {
    if (inQuit || !startClass) {
        return false;
    }
    inQuit = true;
    const bool ended = startClass->EndApplication();
    if (!ended) {
        ReportFailedSave(*startClass->SepaMng(), startClass->MainWindow());
    }
    // The program ends once the main window has gone, settings written or not; a script that
    // started it learns from the status whether they were.
    QCoreApplication::exit(ended ? 0 : 1);
    inQuit = false;
    return ended;
}

KPXUIStartClass* StartClassInstance() { return startClass.get(); }

void Finish() { startClass.reset(); }

}  // namespace KPXUIStartModule
