#pragma once

// Connects the core's typed numbers to Qt: a number typed into the window is read in the forms
// of the application's locale (the system's unless the application chose another), else in the
// C locale's, so "2.5" reads the same everywhere. Full-width digits, signs and separators, as
// Japanese input methods give them, read as their ASCII forms.
namespace tkvQtTypedNumber {

void Install();
void Uninstall();

}  // namespace tkvQtTypedNumber
