#include "ui/gothic_font.h"

#include <QStringList>

namespace kx::ui {

QFont GothicFont(int pointSize) {
    QFont font;
    font.setFamilies(QStringList{"ＭＳ ゴシック", "MS Gothic", "IPAGothic", "IPAexGothic",
                                 "Noto Sans Mono CJK JP", "Noto Sans CJK JP"});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(pointSize);
    return font;
}

QString ArrayName(const char* control, int index) {
    return QString("%1(%2)").arg(QLatin1String(control)).arg(index);
}

}  // namespace kx::ui
