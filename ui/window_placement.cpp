#include "ui/window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QShowEvent>
#include <QWidget>
#include <algorithm>

namespace ui {
namespace {

constexpr char kPlaced[] = "tolvanePlaced";

// Centres `window` over `opener` the first time; later calls leave it where it is.
// The window gets its layout's size first, as show() would give it.
void placeFirstTime(QWidget* window, QWidget* opener) {
    if (window->property(kPlaced).toBool()) return;
    window->setProperty(kPlaced, true);
    if (!opener || opener == window || !opener->isVisible()) return;
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    const QRect over = opener->frameGeometry();
    const QSize size = window->frameGeometry().size();
    QPoint topLeft = over.center() - QPoint(size.width() / 2, size.height() / 2);
    if (const QScreen* screen = opener->screen()) {
        const QRect room = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), room.left(),
                                std::max(room.left(), room.right() + 1 - size.width())));
        topLeft.setY(std::clamp(topLeft.y(), room.top(),
                                std::max(room.top(), room.bottom() + 1 - size.height())));
    }
    window->move(topLeft);
}

// Qt sends a window its show event before the window reaches the screen, so moving
// it there places it before it is seen.
class Placement : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow() && w->windowType() == Qt::Window)
                placeFirstTime(w, QApplication::activeWindow());
        }
        return false;
    }
};

}  // namespace

void showWindow(QWidget* window, QWidget* opener) {
    placeFirstTime(window, opener ? opener : QApplication::activeWindow());
    window->show();
    window->raise();
    window->activateWindow();
}

void placeSecondaryWindows(QApplication& app) { app.installEventFilter(new Placement(&app)); }

}  // namespace ui
