#pragma once

#include <string>

class QLabel;

// A label that shows a path in the width the layout gave it.
namespace KPXUIAddressLabel {

// Shows agAddress in agLabel: leading folders as "..." where the path is too wide, and a name
// too wide even then shortened in its middle; the whole path is the label's tool tip. The
// label's width must be final (its window laid out).
void SetAddress(QLabel& agLabel, const std::string& agAddress);

}  // namespace KPXUIAddressLabel
