#pragma once

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <memory>

// A picture file on its way to the canvas. It is opened as data files are:
// without waiting (a named pipe is refused, never waited on) and only when it
// is a regular file; and it is measured against the memory it takes as the
// canvas shows it before anything is decoded.
namespace kx::ui {

// The messages of the load, in the window's own words.
inline constexpr const char* kPictureNameFault = "ﾌｧｲﾙ名不正";
inline constexpr const char* kPictureTooLarge = "画像が大きすぎます";
// A file that is no picture we read, and one broken after a sound header.
inline constexpr const char* kNotAPicture = "画像ﾌｧｲﾙとして読めません";
inline constexpr const char* kBrokenPicture = "画像ﾃﾞｰﾀが壊れています";
inline constexpr const char* kPictureCutShort =
    "画像ﾌｧｲﾙが途中で切れています。読めた所までを表示しました";

class PictureReading {
public:
    explicit PictureReading(const QString& path);

    // Why the picture cannot be read, found before decoding; empty when it can.
    const QString& refusal() const { return refusal_; }
    // Decodes the picture: null, with the reader's reason in `fault`, when
    // that fails.
    QImage Read(QString& fault);
    // Whether the file ends before the pixels its header promises, so that the
    // picture read is partial.
    bool CutShort();

private:
    QFile file_;
    std::unique_ptr<QImageReader> reader_;
    QString refusal_;
};

}  // namespace kx::ui
