#include "KPXUIStartModule.h"

#include <QCoreApplication>
#include <memory>

#include "KPXUISepaMng.h"
#include "KPXUIStartClass.h"
#include "tkvMessageBox.h"
#include "tkvQtBackgroundWork.h"

namespace KPXUIStartModule {

namespace {

std::unique_ptr<KPXUIStartClass> startClass;
bool inMain = false;
bool inQuit = false;

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
    // The program ends once the main window has gone, settings written or not.
    QCoreApplication::quit();
    inQuit = false;
    return ended;
}

KPXUIStartClass* StartClassInstance() { return startClass.get(); }

void Finish() { startClass.reset(); }

}  // namespace KPXUIStartModule
