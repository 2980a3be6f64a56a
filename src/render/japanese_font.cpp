#include "render/japanese_font.h"

#include <QStringList>

namespace kx::render {

QFont JapaneseFont(double pointSize) {
    QFont font;
    // IPAGothic is of fixed pitch like the system's face, so the right-aligned
    // columns of the result lists stay aligned.
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                      QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

}  // namespace kx::render
