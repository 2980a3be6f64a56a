#include "core/files/picture_file.h"

#include <cstdlib>

namespace kx::core {
namespace {

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

unsigned char Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// Uncompressed rows: BI_RGB, BI_BITFIELDS and BI_ALPHABITFIELDS.
bool BmpCutShort(std::string_view head, std::uint64_t fileSize) {
    if (head.size() < 26) return false;
    const std::uint64_t pixelsAt = Little(head, 10, 4);
    const std::uint32_t infoSize = Little(head, 14, 4);
    std::uint64_t width = 0, height = 0, bits = 0;
    if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes, never compressed
        width = Little(head, 18, 2);
        height = Little(head, 20, 2);
        bits = Little(head, 24, 2);
    } else if (infoSize >= 40 && head.size() >= 34) {
        const std::uint32_t compression = Little(head, 30, 4);
        if (compression != 0 && compression != 3 && compression != 6) return false;
        width =
            static_cast<std::uint64_t>(std::llabs(static_cast<std::int32_t>(Little(head, 18, 4))));
        height =
            static_cast<std::uint64_t>(std::llabs(static_cast<std::int32_t>(Little(head, 22, 4))));
        bits = Little(head, 28, 2);
    } else {
        return false;
    }
    const std::uint64_t rowBytes = (width * bits + 31) / 32 * 4;
    return fileSize < pixelsAt + rowBytes * height;
}

// Past the entropy-coded data that starts at `at`: the position of the next
// marker, or the end of the bytes. A 0xFF in the data is followed by 0 (a
// stuffed byte) or a restart marker.
std::size_t PastEntropyData(std::string_view bytes, std::size_t at) {
    for (; at + 1 < bytes.size(); ++at) {
        if (Byte(bytes, at) != 0xFF) continue;
        const unsigned char next = Byte(bytes, at + 1);
        if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7)) return at;
    }
    return bytes.size();
}

// Walks the segments up to the end-of-image marker; cut short when the bytes
// end first.
bool JpegCutShort(std::string_view bytes) {
    std::size_t at = 2;
    while (at < bytes.size()) {
        if (Byte(bytes, at) != 0xFF) return false;  // no sound segment: not ours to judge
        while (at < bytes.size() && Byte(bytes, at) == 0xFF) ++at;
        if (at >= bytes.size()) break;
        const unsigned char marker = Byte(bytes, at++);
        if (marker == 0xD9) return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;
        if (at + 2 > bytes.size()) break;
        const std::size_t length = (std::size_t{Byte(bytes, at)} << 8) | Byte(bytes, at + 1);
        at += length;
        if (marker == 0xDA) at = PastEntropyData(bytes, at);
    }
    return true;
}

}  // namespace

PictureKind PictureKindOf(std::string_view head) {
    if (head.size() >= 2 && head.substr(0, 2) == "BM") return PictureKind::kBmp;
    if (head.size() >= 3 && Byte(head, 0) == 0xFF && Byte(head, 1) == 0xD8 &&
        Byte(head, 2) == 0xFF) {
        return PictureKind::kJpeg;
    }
    return PictureKind::kOther;
}

bool PictureCutShort(std::string_view bytes, std::uint64_t fileSize) {
    switch (PictureKindOf(bytes)) {
        case PictureKind::kBmp: return BmpCutShort(bytes, fileSize);
        case PictureKind::kJpeg: return JpegCutShort(bytes);
        case PictureKind::kOther: break;
    }
    return false;
}

}  // namespace kx::core
