#include "KPXUIStartClass.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <chrono>

#include "KPXUIBase.h"
#include "KPXUIChecked.h"
#include "KPXUIRenewable.h"
#include "KPXUISepaMng.h"
#include "KPXUIStartForm.h"
#include "KPXUIStartModule.h"
#include "tkvTwips.h"
#include "tkvWatchVersion.h"
#include "tkvWindowSetting.h"

namespace {

// How long the splash may stay above a main window that is not activated.
constexpr std::chrono::milliseconds kSplashAfterMainWindow{3000};

}  // namespace

KPXUIStartClass::KPXUIStartClass(std::vector<std::string> agPieces)
    : pieces_(std::move(agPieces)) {}

KPXUIStartClass::~KPXUIStartClass() {
    if (sepaMng_) {
        sepaMng_->SetWindows(nullptr);
    }
}

bool KPXUIStartClass::StartFormVisible() const { return startForm_ && startForm_->Running(); }

void KPXUIStartClass::SetStartFormVisible(bool agVisible) {
    if (agVisible == StartFormVisible()) {
        return;
    }
    if (agVisible) {
        startForm_ = std::make_unique<KPXUIStartForm>();
        startForm_->show();
        // Painted before the slow work starts.
        if (tkvWindowSetting::SetWindowOrder(startForm_.get(), true)) {
            QApplication::processEvents();
        }
        return;
    }
    startForm_->close();
    // Qt may still hold the splash as the window that was active: it goes once that is over.
    startForm_.release()->deleteLater();
    QApplication::processEvents();
}

bool KPXUIStartClass::StartApplication(std::shared_ptr<KPXUISepaMng> agSepaMng) {
    SetStartFormVisible(true);
    sepaMng_ = agSepaMng ? std::move(agSepaMng) : std::make_shared<KPXUISepaMng>();
    sepaMng_->SetWindows(this);
    sepaMng_->SetBackgroundWork(backgroundWork_);
    return sepaMng_->StartManagement();
}

bool KPXUIStartClass::EndApplication() {
    if (!sepaMng_) {
        return true;
    }
    if (!sepaMng_->EndManagement()) {
        return false;
    }
    sepaMng_->SetWindows(nullptr);
    sepaMng_.reset();
    return true;
}

int32_t KPXUIStartClass::ScreenWidth() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? tkvTwips::FromPixels(screen->geometry().width()) : 0;
}

int32_t KPXUIStartClass::ScreenHeight() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? tkvTwips::FromPixels(screen->geometry().height()) : 0;
}

bool KPXUIStartClass::ShowMainWindow(std::shared_ptr<KPXUISepaMng> agSepaMng) {
    mainWindow_ = std::make_unique<KPXUIBase>();
    mainWindow_->SetSepaMng(std::move(agSepaMng));
    mainWindow_->SetActivateHook([this] { SetStartFormVisible(false); });
    mainWindow_->SetQuitHook([] { return KPXUIStartModule::QuitApplication(); });
    mainWindow_->Load();
    mainWindow_->show();
    // A window manager that gives a new window no focus never activates it: the splash then
    // goes a little after the window came, so that it never hides the window for good.
    QTimer::singleShot(kSplashAfterMainWindow, mainWindow_.get(),
                       [this] { SetStartFormVisible(false); });
    if (!pieces_.empty()) {
        mainWindow_->ListPieces(pieces_);
    }
    return true;
}

void KPXUIStartClass::UnloadMainWindow() {
    if (!mainWindow_) {
        return;
    }
    mainWindow_->SetSepaMng(nullptr);
    // A window that began to close is closing already: this returns at once.
    mainWindow_->close();
}

void KPXUIStartClass::ShowRenewableNotice() {
    const auto watch = sepaMng_ ? sepaMng_->WatchingControl() : nullptr;
    if (watch && watch->CheckingControl()) {
        KPXUIRenewable::ShowNotice(mainWindow_.get(), *watch->CheckingControl(),
                                   sepaMng_->FileAddressOfHowToUpdate());
    }
}

void KPXUIStartClass::ShowCheckedNotice() { KPXUIChecked::ShowNotice(mainWindow_.get()); }
