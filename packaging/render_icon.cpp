// Renders the program's SVG icon into a square PNG of the size asked, for the
// icon theme's fixed sizes: kx_render_icon ICON.svg SIZE OUT.png
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: kx_render_icon ICON.svg SIZE OUT.png\n", stderr);
        return 2;
    }
    // Painting an image without text needs no application object, and so
    // no display and no font library.
    QSvgRenderer renderer{QString::fromLocal8Bit(argv[1])};
    const int size = std::atoi(argv[2]);
    if (!renderer.isValid() || size <= 0) return 1;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
