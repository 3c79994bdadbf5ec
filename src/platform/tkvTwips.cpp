#include "tkvTwips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace tkvTwips {

namespace {

// 15 twips to a pixel at 96 dots per inch.
constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDotsPerInch = 96.0;

double DotsPerInch(const QWidget* agWidget) {
    const QScreen* screen =
        agWidget != nullptr ? agWidget->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr || screen->logicalDotsPerInch() <= 0) {
        return kDefaultDotsPerInch;
    }
    return screen->logicalDotsPerInch();
}

}  // namespace

int ToPixels(int32_t agTwips, const QWidget* agWidget) {
    return static_cast<int>(std::lround(agTwips * DotsPerInch(agWidget) / kTwipsPerInch));
}

int32_t FromPixels(int agPixels, const QWidget* agWidget) {
    return static_cast<int32_t>(std::lround(agPixels * kTwipsPerInch / DotsPerInch(agWidget)));
}

}  // namespace tkvTwips
