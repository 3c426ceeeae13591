#pragma once
#include <QColor>
#include <QWidget>

namespace movra {

class QtSurface;

// Shows a canvas: the image of its Qt surface, repainted whenever the surface reports a change.
// The mouse and key events reach the form through the binder's event filter.
class QtCanvasWidget : public QWidget {
public:
    QtCanvasWidget(QtSurface* surface, QWidget* parent);
    ~QtCanvasWidget() override;
    // The surface is going away: paint the back colour from now on.
    void Detach();
    void SetFallbackColor(const QColor& color) { fallback_ = color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QtSurface* surface_;
    QColor fallback_ = Qt::black;
};

}  // namespace movra
