#pragma once

#include <QImage>
#include <QWidget>

namespace kx::ui {

// The plot window's picture (`Picture1`): shows the image the last drawing
// pass made, as it is, from the top-left corner.
class PlotPicture : public QWidget {
    Q_OBJECT
public:
    explicit PlotPicture(QWidget* parent);

    const QImage& image() const { return image_; }
    void SetImage(QImage image);
    void Clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

}  // namespace kx::ui
