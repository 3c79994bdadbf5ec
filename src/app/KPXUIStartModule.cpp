#include "KPXUIStartModule.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
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

// The program's file name, which begins its lines on the standard error.
std::string ProgramName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
}

// A message box needs windows; a program started without a display has none.
bool HasWindows() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

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
    std::cerr << ProgramName() << ": " << line << '\n';
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

// HandleUninstallSwitch, with ouFailed true when the settings file is still there.
bool Uninstall(const std::vector<std::string>& agArguments, const KPXUtilSettings* agSettings,
               bool& ouFailed) {
    // Constructing the settings only locates the files; it loads nothing.
    const KPXUtilSettings programs;
    const KPXUtilSettings& settings = agSettings != nullptr ? *agSettings : programs;
    if (!settings.RemoveSettingsForUninstall(ArgumentText(agArguments), ouFailed)) {
        return false;
    }
    if (ouFailed) {
        const std::string failed = "設定ファイルを削除できませんでした。";
        // The standard error is where a script, or a user without a display, learns of it.
        std::cerr << ProgramName() << ": " << failed << " " << settings.FileAddressOfUtility()
                  << '\n';
        if (HasWindows()) {
            tkvMessageBox::Show(nullptr, failed, tkvMessageBox::Icon::kError,
                                tkvMessageBox::Buttons::kOK);
        }
    }
    return true;
}

}  // namespace

bool HandleUninstallSwitch(const std::vector<std::string>& agArguments,
                           const KPXUtilSettings* agSettings) {
    bool failed = false;
    return Uninstall(agArguments, agSettings, failed);
}

bool Main(const std::vector<std::string>& agArguments, int& ouStatus) {
    ouStatus = 0;
    if (inMain) {
        return false;
    }
    inMain = true;
    bool run = false;
    bool failed = false;
    if (Uninstall(agArguments, nullptr, failed)) {
        ouStatus = failed ? 1 : 0;
    } else if (!HasWindows()) {
        std::cerr << ProgramName()
                  << ": no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
                     "set)\n";
        ouStatus = 1;
    } else {
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
