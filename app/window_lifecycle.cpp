// Restoring the window from prefs.ini at start-up and saving it there on close.
#include "app/main_window.h"
#include "app/pages/general_page.h"
#include "app/run_place/run_place_box.h"
#include "model/preferences.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <algorithm>

namespace {

// Smaller than this, or with less than this much on a screen, a window cannot be used.
constexpr QSize MinimumUsable(200, 120);
constexpr QSize MinimumOnScreen(64, 32);

bool Usable(const QRect& window) {
    if (window.width() < MinimumUsable.width() || window.height() < MinimumUsable.height())
        return false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect visible = screen->geometry().intersected(window);
        if (visible.width() >= MinimumOnScreen.width() &&
            visible.height() >= MinimumOnScreen.height())
            return true;
    }
    return false;
}

// Where a window's client area may lie on `screen`: the window manager's title bar comes on
// top of it, so a client area as tall as the screen would lose its bottom edge (a size saved at
// one scaling and restored at a larger one did; the run panel's Cancel was below the screen).
QRect ClientRoom(const QScreen& screen) {
    QRect area = screen.availableGeometry();
    area.setBottom(area.bottom() - QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
    return area;
}

// A window partly off its screen (saved at another scaling, say) is moved and, if need be,
// shrunk into the screen's room for it.
QRect FitOnScreen(QRect window) {
    const QScreen* screen = QGuiApplication::screenAt(window.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return window;
    const QRect area = ClientRoom(*screen);
    window.setSize(window.size().boundedTo(area.size()));
    window.moveLeft(std::clamp(window.left(), area.left(), area.right() + 1 - window.width()));
    window.moveTop(std::clamp(window.top(), area.top(), area.bottom() + 1 - window.height()));
    return window;
}

} // namespace

void TFIN::ReadPreferences() {
    resize(LayoutSize());
    QFile file(setup_.currentDir + "/prefs.ini");
    if (!file.open(QIODevice::ReadOnly)) {
        CentreWithLayoutSize();
        return;
    }
    const QByteArray content = file.readAll();
    const zentrope::Preferences prefs = zentrope::ParsePreferences(content.toStdString());
    runPlace_->SetPlace(prefs.runPlace);
    if (prefs.zentropeExe)
        TSgeneral->SetTesterPath(QString::fromStdString(*prefs.zentropeExe));
    if (prefs.paraFile)
        TSgeneral->SetParameterFileName(QString::fromStdString(*prefs.paraFile));
    if (prefs.activePageIndex) {
        // A tab widget always shows a page: an index that names none shows the first.
        const int index = *prefs.activePageIndex;
        PC->setCurrentIndex(index >= 0 && index < PC->count() ? index : 0);
    }
    // The result pages are empty at start-up.
    if (PC->currentIndex() > 1)
        PC->setCurrentIndex(1);

    const QRect restored(prefs.left.value_or(x()), prefs.top.value_or(y()),
                         prefs.width.value_or(width()), prefs.height.value_or(height()));
    if (!prefs.left && !prefs.top && !prefs.width && !prefs.height)
        CentreWithLayoutSize();
    else if (Usable(restored)) {
        const QRect fitted = FitOnScreen(restored);
        move(fitted.topLeft());
        resize(fitted.size());
    } else
        CentreWithLayoutSize();
}

QSize TFIN::LayoutSize() const {
    const auto* scroller = static_cast<const QScrollArea*>(centralWidget());
    return PC->sizeHint() + QSize(scroller->frameWidth() * 2, scroller->frameWidth() * 2);
}

void TFIN::CentreWithLayoutSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? ClientRoom(*screen) : QRect(0, 0, 800, 600);
    const QSize size = LayoutSize().boundedTo(available.size());
    resize(size);
    move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}

void TFIN::WritePreferences() {
    // Written beside the old file and renamed over it once whole: a crash or a full disk
    // leaves the old file as it was. Unbuffered, so that a failed write is seen by the write
    // and by commit(), which does not notice a failure of the buffer's last flush.
    QSaveFile file(setup_.executableDir + "/prefs.ini");
    const QByteArray content = QByteArray::fromStdString(
        zentrope::FormatPreferences(TSgeneral->TesterPath().toStdString(),
                                    TSgeneral->ParameterFileName().toStdString(),
                                    PC->currentIndex(), {x(), y(), width(), height()}) +
        zentrope::FormatRunPlacePreferences(runPlace_->Place()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(content) != content.size() || !file.commit())
        ShowMessage("Preference file not saved", MessageIcon::Warning);
}

void TFIN::closeEvent(QCloseEvent* event) {
    if (!preferencesWritten_ && (!ConfirmCloseDuringRun() || !ConfirmClose()))
        return event->ignore();
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        CancelResultLoad();
    if (event->isAccepted() && !preferencesWritten_) {
        preferencesWritten_ = true;
        WritePreferences();
    }
}
