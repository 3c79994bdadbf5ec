#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "KPXUIApplication.h"
#include "KPXUIProgramArguments.h"
#include "KPXUIResources.h"
#include "KPXUIStartModule.h"
#include "tkvCallBackForTimerCtrl.h"
#include "tkvQtEventPump.h"
#include "tkvQtTimerBackend.h"
#include "tkvQtTypedNumber.h"

int main(int argc, char** argv) {
    const KPXUIProgramArguments arguments(
        QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().toStdString(),
        std::vector<std::string>(argv + 1, argv + argc));
    if (arguments.Request() != KPXUIProgramArguments::Kind::kStart) {
        return arguments.Answer(std::cout, std::cerr);
    }

    // The arguments are read: Qt is given none, so no piece is taken for one of its options.
    int qtArgc = 1;
    // Without a display there is no window to open, yet the settings can still be removed and
    // the reason the window cannot open can be told.
    const std::unique_ptr<QCoreApplication> application =
        KPXUIApplication::HasDisplay() ? std::make_unique<QApplication>(qtArgc, argv)
                                       : std::make_unique<QCoreApplication>(qtArgc, argv);
    KPXUIApplication::Prepare();
    KPXUIResources::Initialize();
    tkvQtEventPump::Install();
    // Numbers typed into the window are read in the forms of the user's locale.
    tkvQtTypedNumber::Install();
    auto timers = std::make_shared<tkvQtTimerBackend>();
    tkvCallBackForTimerCtrl::SetTimerBackend(timers);

    int status = 0;
    if (KPXUIStartModule::Main(arguments.Arguments(), status)) {
        status = QCoreApplication::exec();
    }

    KPXUIStartModule::Finish();
    // No timer may elapse once the application object is gone.
    timers->KillAll();
    tkvCallBackForTimerCtrl::SetTimerBackend(nullptr);
    tkvQtTypedNumber::Uninstall();
    tkvQtEventPump::Uninstall();
    return status;
}
