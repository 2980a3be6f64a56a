#pragma once

#include <QImage>
#include <QObject>

class QMimeData;

namespace kx::ui {

// What the program may paste from the system clipboard. The clipboard belongs
// to the user and is never emptied. Instead the program remembers what is
// stale: the picture the clipboard held when the program started, and the
// list copied from the program-generation window once that window went back.
// Anything put on the clipboard after that, by the user or the program, is
// pasted as usual.
class ClipboardMemory : public QObject {
    Q_OBJECT
public:
    ClipboardMemory();

    void MarkPictureStale() { pictureStale_ = true; }
    void MarkTextStale() { textStale_ = true; }

    // The picture to paste: none while the clipboard's picture is stale.
    QImage Picture() const;
    // Whether `data` may be pasted as text: not when it is the stale clipboard.
    bool MayPasteText(const QMimeData* data) const;

private:
    bool pictureStale_ = false;
    bool textStale_ = false;
};

}  // namespace kx::ui
