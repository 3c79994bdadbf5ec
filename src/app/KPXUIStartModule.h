#pragma once

#include <memory>
#include <string>
#include <vector>

class KPXUISepaMng;
class KPXUIStartClass;
class KPXUtilSettings;

// The program's entry and exit: the "/Uninstall" switch, the start-up object of the run, and
// the end once the main window closes.
namespace KPXUIStartModule {

// Handles agArguments (the command line after the program's name, its options taken out):
// "/Uninstall" exactly removes the settings file and starts nothing; anything else starts the
// program, with the arguments as pieces to list. True when the event loop is to run; otherwise
// ouStatus is the program's exit status: 0, or 1 when the settings file could not be removed
// or there is no display for the window (the application object is no QApplication). Guarded
// against re-entry.
bool Main(const std::vector<std::string>& agArguments, int& ouStatus);

// True when the arguments are exactly the uninstall switch; then the settings file of
// agSettings (the program's own when none) is deleted, or the standard error says it could
// not be, and so does a message box where the application has windows.
bool HandleUninstallSwitch(const std::vector<std::string>& agArguments,
                           const KPXUtilSettings* agSettings = nullptr);

// Makes agStartClass the start-up object of the run and starts it with agSepaMng (none: the
// program's own settings). Main does this; a test does it with its own settings folder.
bool Start(std::unique_ptr<KPXUIStartClass> agStartClass,
           std::shared_ptr<KPXUISepaMng> agSepaMng = nullptr);

// Called once by the main window while it unloads: ends the start-up object's settings manager
// and the event loop. Settings that could not be written are reported (a message box over the
// main window and a line on the standard error) and end the loop with status 1. Guarded
// against re-entry.
bool QuitApplication();

// The start-up object of the run; none before Main and after Finish.
KPXUIStartClass* StartClassInstance();

// Drops the start-up object and with it the windows: after the event loop ended.
void Finish();

}  // namespace KPXUIStartModule
