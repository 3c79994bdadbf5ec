#pragma once

#include <cstdint>

class QWidget;

// Window sizes and positions are stored in twips, as the settings file carries them: 15 twips
// to a pixel at 96 dots per inch, scaled by the screen's logical dots per inch.
namespace tkvTwips {

// agWidget's screen, or the primary screen for none.
int ToPixels(int32_t agTwips, const QWidget* agWidget = nullptr);
int32_t FromPixels(int agPixels, const QWidget* agWidget = nullptr);

}  // namespace tkvTwips
