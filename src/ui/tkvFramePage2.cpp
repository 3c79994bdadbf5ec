#include "tkvFramePage2.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>

#include "tkvTwips.h"

tkvFramePage2::tkvFramePage2(QObject* agParent) : QObject(agParent) {
    const QPalette palette = QApplication::palette();
    ActiveBackColor = palette.color(QPalette::Highlight);
    ActiveBorderColor = palette.color(QPalette::HighlightedText);
    ActiveForeColor = palette.color(QPalette::HighlightedText);
    NormalBackColor = palette.color(QPalette::Base);
    NormalBorderColor = palette.color(QPalette::Dark);
    NormalForeColor = palette.color(QPalette::WindowText);
    ActiveUnenableBackColor = palette.color(QPalette::Dark);
    ActiveUnenableBorderColor = palette.color(QPalette::Midlight);
    ActiveUnenableForeColor = palette.color(QPalette::Midlight);
    NormalUnenableBackColor = palette.color(QPalette::Midlight);
    NormalUnenableBorderColor = palette.color(QPalette::Dark);
    NormalUnenableForeColor = palette.color(QPalette::Dark);
}

tkvFramePage2::~tkvFramePage2() {
    for (const Page& page : pages_) {
        for (QObject* watched :
             {static_cast<QObject*>(page.Background), static_cast<QObject*>(page.Caption)}) {
            if (watched != nullptr) {
                watched->removeEventFilter(this);
            }
        }
    }
}

bool tkvFramePage2::Regist(QWidget* agContainer, QFrame* agBackground, QLabel* agCaption) {
    if (agContainer == nullptr) {
        return false;
    }
    const Page page{agContainer, agBackground, agCaption};
    pages_.push_back(page);
    agContainer->hide();
    for (QWidget* tab : {static_cast<QWidget*>(agBackground), static_cast<QWidget*>(agCaption)}) {
        if (tab != nullptr) {
            tab->installEventFilter(this);
            tab->setCursor(Qt::PointingHandCursor);
        }
    }
    if (agCaption != nullptr) {
        agCaption->raise();
        agCaption->setFocusPolicy(Qt::TabFocus);
        agCaption->setAccessibleName(agCaption->text());
    }
    Paint(page, isFixed_ ? Look::kNormalUnenable : Look::kNormal);
    return true;
}

void tkvFramePage2::SetIndex(int32_t agIndex) {
    if (isFixed_ || agIndex == index_ || agIndex < -1 || agIndex >= Count()) {
        return;
    }
    int32_t cancel = 0;
    emit IndexChanged(index_, agIndex, cancel);
    if (cancel == 1) {
        return;
    }
    const Page* next = agIndex == -1 ? nullptr : &pages_[static_cast<size_t>(agIndex)];
    // Hiding a page moves the focus on by itself, anywhere: where it was decides.
    QWidget* focused = QApplication::focusWidget();
    if (index_ != -1) {
        const Page& old = pages_[static_cast<size_t>(index_)];
        Paint(old, Look::kNormal);
        Enlarge(old, -1);
        if (old.Container->isVisibleTo(old.Container->parentWidget()) &&
            (next == nullptr || !next->Container->isVisibleTo(next->Container->parentWidget()))) {
            old.Container->hide();
        }
    }
    if (next != nullptr) {
        Paint(*next, Look::kActive);
        Enlarge(*next, 1);
        next->Container->show();
    }
    index_ = agIndex;
    if (next != nullptr && focused != nullptr && !focused->isVisible()) {
        FocusInto(next->Container);
    }
}

void tkvFramePage2::Step(int32_t agSteps) {
    std::vector<int32_t> tabbed;
    for (int32_t i = 0; i < Count(); ++i) {
        if (pages_[static_cast<size_t>(i)].Caption != nullptr) {
            tabbed.push_back(i);
        }
    }
    if (tabbed.empty()) {
        return;
    }
    const auto count = static_cast<int32_t>(tabbed.size());
    // From a page without a tab (the version page), a step forward goes to the first tab.
    int32_t at = agSteps > 0 ? -1 : 0;
    for (int32_t k = 0; k < count; ++k) {
        if (tabbed[static_cast<size_t>(k)] == index_) {
            at = k;
        }
    }
    SetIndex(tabbed[static_cast<size_t>(((at + agSteps) % count + count) % count)]);
}

void tkvFramePage2::FocusInto(QWidget* agShown) {
    if (!agShown->isVisible()) {
        return;
    }
    // The window's own tab order, from the page on: its first control that takes the focus,
    // before the captions of its own tabs.
    for (const bool captions : {false, true}) {
        QWidget* candidate = agShown->nextInFocusChain();
        for (int guard = 0; candidate != nullptr && candidate != agShown && guard < 1000; ++guard) {
            if (agShown->isAncestorOf(candidate) && candidate->isVisible() &&
                candidate->isEnabled() && (candidate->focusPolicy() & Qt::TabFocus) != 0 &&
                (captions || qobject_cast<QLabel*>(candidate) == nullptr)) {
                candidate->setFocus(Qt::OtherFocusReason);
                return;
            }
            candidate = candidate->nextInFocusChain();
        }
    }
}

void tkvFramePage2::SetIsFixed(bool agIsFixed) {
    if (agIsFixed == isFixed_) {
        return;
    }
    isFixed_ = agIsFixed;
    for (int32_t i = 0; i < Count(); ++i) {
        Paint(pages_[static_cast<size_t>(i)], LookOf(i));
    }
}

tkvFramePage2::Look tkvFramePage2::LookOf(int32_t agIndex) const {
    const bool current = agIndex == index_;
    if (isFixed_) {
        return current ? Look::kActiveUnenable : Look::kNormalUnenable;
    }
    return current ? Look::kActive : Look::kNormal;
}

void tkvFramePage2::Paint(const Page& agPage, Look agLook) {
    QColor back;
    QColor border;
    QColor fore;
    switch (agLook) {
        case Look::kActive:
            back = ActiveBackColor, border = ActiveBorderColor, fore = ActiveForeColor;
            break;
        case Look::kNormal:
            back = NormalBackColor, border = NormalBorderColor, fore = NormalForeColor;
            break;
        case Look::kActiveUnenable:
            back = ActiveUnenableBackColor, border = ActiveUnenableBorderColor,
            fore = ActiveUnenableForeColor;
            break;
        case Look::kNormalUnenable:
            back = NormalUnenableBackColor, border = NormalUnenableBorderColor,
            fore = NormalUnenableForeColor;
            break;
    }
    if (agPage.Background != nullptr) {
        agPage.Background->setStyleSheet(
            QStringLiteral("QFrame { background-color: %1; border: 1px solid %2; }")
                .arg(back.name(), border.name()));
    }
    if (agPage.Caption != nullptr) {
        // The keyboard's focus shows as a dotted frame, and only then.
        agPage.Caption->setStyleSheet(
            QStringLiteral("QLabel { color: %1; background: transparent; border: none; }"
                           "QLabel:focus { border: 1px dotted %1; }")
                .arg(fore.name()));
    }
}

void tkvFramePage2::Enlarge(const Page& agPage, int agSign) {
    if (agPage.Background == nullptr) {
        return;
    }
    const int dx = agSign * tkvTwips::ToPixels(EnlargingX, agPage.Background);
    const int dy = agSign * tkvTwips::ToPixels(EnlargingY, agPage.Background);
    const QRect rect = agPage.Background->geometry();
    agPage.Background->setGeometry(rect.adjusted(-dx, -dy, dx, dy));
    if (agSign > 0) {
        agPage.Background->raise();
        if (agPage.Caption != nullptr) {
            agPage.Caption->raise();
        }
    }
}

int32_t tkvFramePage2::PageOf(const QObject* agTab) const {
    for (int32_t i = 0; i < Count(); ++i) {
        const Page& page = pages_[static_cast<size_t>(i)];
        if (agTab == page.Background || agTab == page.Caption) {
            return i;
        }
    }
    return -1;
}

bool tkvFramePage2::TakeKey(int32_t agPage, const QKeyEvent& agKey) {
    if (agKey.modifiers() != Qt::NoModifier && agKey.modifiers() != Qt::KeypadModifier) {
        return false;
    }
    switch (agKey.key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            SetIndex(agPage);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            // The neighbouring tab of the focused one is chosen and takes the focus, as in a
            // tab bar.
            const int32_t by = agKey.key() == Qt::Key_Right ? 1 : -1;
            for (int32_t i = agPage + by; i >= 0 && i < Count(); i += by) {
                const Page& page = pages_[static_cast<size_t>(i)];
                if (page.Caption != nullptr) {
                    SetIndex(i);
                    page.Caption->setFocus(Qt::TabFocusReason);
                    break;
                }
            }
            return true;
        }
        default:
            return false;
    }
}

bool tkvFramePage2::eventFilter(QObject* agWatched, QEvent* agEvent) {
    const int32_t page = PageOf(agWatched);
    if (page != -1 && agEvent->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(agEvent)->button() == Qt::LeftButton) {
        SetIndex(page);
        return true;
    }
    if (page != -1 && agEvent->type() == QEvent::KeyPress &&
        TakeKey(page, *static_cast<QKeyEvent*>(agEvent))) {
        return true;
    }
    return QObject::eventFilter(agWatched, agEvent);
}
