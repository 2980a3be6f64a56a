#include "ui/digitizer/picture_reading.h"

#include <unistd.h>

#include "core/files/atomic_file.h"
#include "core/files/picture_file.h"

namespace kx::ui {
namespace {

// The reader's own limit, for the picture as it decodes it, in MB: twice the
// shown picture's, for the 64-bit pixels of a 16-bit PNG or TIFF.
constexpr int kReaderLimitMb = static_cast<int>(2 * core::kMostShownPictureBytes >> 20);

QString TooLargeText(QSize size) {
    const std::uint64_t shown = core::ShownPictureBytes(size.width(), size.height());
    return QStringLiteral("%1 (%2 x %3, 表示に %4 MB; 上限 %5 MB)")
        .arg(QString::fromUtf8(kPictureTooLarge))
        .arg(size.width())
        .arg(size.height())
        .arg((shown + (1u << 20) - 1) >> 20)
        .arg(core::kMostShownPictureBytes >> 20);
}

}  // namespace

PictureReading::PictureReading(const QString& path) {
    const core::OpenedFile opened = core::OpenRegularFile(QFile::encodeName(path).toStdString());
    if (opened.fd < 0 ||
        !file_.open(opened.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (opened.fd >= 0) ::close(opened.fd);
        refusal_ = QString::fromUtf8(kPictureNameFault);
        return;
    }
    reader_ = std::make_unique<QImageReader>(&file_);
    reader_->setAllocationLimit(kReaderLimitMb);
    // A file that is no picture we read.
    if (!reader_->canRead() || !reader_->size().isValid()) {
        refusal_ = QString::fromUtf8(kNotAPicture);
        return;
    }
    const QSize size = reader_->size();
    if (core::ShownPictureBytes(size.width(), size.height()) > core::kMostShownPictureBytes) {
        refusal_ = TooLargeText(size);
    }
}

QImage PictureReading::Read(QString& fault) {
    Q_ASSERT(refusal_.isEmpty());
    QImage picture = reader_->read();
    if (picture.isNull()) fault = QString::fromUtf8(kBrokenPicture);
    return picture;
}

bool PictureReading::CutShort() {
    if (!file_.seek(0)) return false;
    QByteArray bytes = file_.read(core::kPictureHeadBytes);
    // A JPEG is judged by all its bytes: a file far smaller than the picture.
    if (core::PictureKindOf(std::string_view(bytes.constData(), bytes.size())) ==
        core::PictureKind::kJpeg) {
        bytes += file_.readAll();
    }
    return core::PictureCutShort(std::string_view(bytes.constData(), bytes.size()),
                                 static_cast<std::uint64_t>(file_.size()));
}

}  // namespace kx::ui
