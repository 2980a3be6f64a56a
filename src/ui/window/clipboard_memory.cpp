#include "ui/window/clipboard_memory.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kx::ui {

ClipboardMemory::ClipboardMemory() {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        pictureStale_ = false;
        textStale_ = false;
    });
}

QImage ClipboardMemory::Picture() const {
    return pictureStale_ ? QImage() : QGuiApplication::clipboard()->image();
}

bool ClipboardMemory::MayPasteText(const QMimeData* data) const {
    return !(textStale_ && data == QGuiApplication::clipboard()->mimeData());
}

}  // namespace kx::ui
