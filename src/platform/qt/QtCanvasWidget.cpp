#include "platform/qt/QtCanvasWidget.h"

#include <QPainter>

#include "platform/qt/QtSurface.h"

namespace movra {

QtCanvasWidget::QtCanvasWidget(QtSurface* surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    if (surface_) surface_->onChanged = [this] { update(); };
}

QtCanvasWidget::~QtCanvasWidget() { Detach(); }

void QtCanvasWidget::Detach() {
    if (surface_) surface_->onChanged = nullptr;
    surface_ = nullptr;
}

void QtCanvasWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!surface_) {
        painter.fillRect(rect(), fallback_);
        return;
    }
    // Beyond the image (while a resize is on its way) the canvas shows its back colour.
    Rgb back = surface_->BackColor();
    painter.fillRect(rect(), QColor(RedOf(back), GreenOf(back), BlueOf(back)));
    painter.drawImage(0, 0, surface_->Image());
}

}  // namespace movra
