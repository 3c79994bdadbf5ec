#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "KPXUIResources.h"
#include "KPXUIStartModule.h"
#include "tkvCallBackForTimerCtrl.h"
#include "tkvQtEventPump.h"
#include "tkvQtString.h"
#include "tkvQtTimerBackend.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Dividora"));
    QApplication::setDesktopFileName(QStringLiteral("dividora"));
    KPXUIResources::Initialize();
    tkvQtEventPump::Install();
    auto timers = std::make_shared<tkvQtTimerBackend>();
    tkvCallBackForTimerCtrl::SetTimerBackend(timers);

    // Qt has taken its own options out of the arguments by now.
    std::vector<std::string> arguments;
    const QStringList given = QCoreApplication::arguments();
    for (qsizetype i = 1; i < given.size(); ++i) {
        arguments.push_back(tkvQtString::FromQt(given[i]));
    }
    const int status = KPXUIStartModule::Main(arguments) ? QApplication::exec() : 0;

    KPXUIStartModule::Finish();
    // No timer may elapse once the application object is gone.
    timers->KillAll();
    tkvCallBackForTimerCtrl::SetTimerBackend(nullptr);
    tkvQtEventPump::Uninstall();
    return status;
}
