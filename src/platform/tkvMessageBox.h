#pragma once

#include <string>

class QWidget;

// The application's message boxes: a text, an icon, OK or OK and Cancel, modal over the owner
// (through tkvModal, so tests answer them by their buttons' object names "ok" and "cancel").
namespace tkvMessageBox {

enum class Icon { kInformation, kExclamation, kError };
enum class Buttons { kOK, kOKCancel };
// The answers.
inline constexpr int kOK = 1;
inline constexpr int kCancel = 2;

// agTitle empty: the application's name. agText is shown as plain text (a file name is never
// read as markup); its CR LF line breaks are line breaks.
int Show(QWidget* agOwner, const std::string& agText, Icon agIcon, Buttons agButtons,
         const std::string& agTitle = {});

}  // namespace tkvMessageBox
