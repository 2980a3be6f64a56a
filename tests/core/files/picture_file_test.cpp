#include "core/files/picture_file.h"

#include <gtest/gtest.h>

#include <string>

namespace kx::core {
namespace {

using namespace std::string_literals;

// A BMP header of a 24-bit picture, `compression` 0 for uncompressed rows.
std::string BmpHead(int width, int height, int compression = 0) {
    std::string head(54, '\0');
    const auto put = [&head](std::size_t at, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i) head[at + i] = static_cast<char>(value >> (8 * i));
    };
    head[0] = 'B';
    head[1] = 'M';
    put(10, 54);
    put(14, 40);
    put(18, static_cast<std::uint32_t>(width));
    put(22, static_cast<std::uint32_t>(height));
    head[26] = 1;
    head[28] = 24;
    put(30, static_cast<std::uint32_t>(compression));
    return head;
}

// The rows of a 3 x 2 picture take 2 x 12 bytes (rows padded to 4 bytes); a
// top-down one (negative height) as many. Compressed rows are not judged.
TEST(PictureFile, ABmpIsCutShortWhenItsRowsNeedMoreBytes) {
    EXPECT_FALSE(PictureCutShort(BmpHead(3, 2), 54 + 24));
    EXPECT_TRUE(PictureCutShort(BmpHead(3, 2), 54 + 23));
    EXPECT_TRUE(PictureCutShort(BmpHead(3, -2), 54 + 23));
    EXPECT_FALSE(PictureCutShort(BmpHead(3, 2, 1), 54));
    EXPECT_EQ(PictureKindOf(BmpHead(3, 2)), PictureKind::kBmp);
}

// Only the end-of-image marker of the picture ends it: not one inside a
// segment (the EXIF thumbnail's), nor 0xFF bytes stuffed or restarting in the
// entropy-coded data.
TEST(PictureFile, AJpegIsCutShortWithoutTheMarkerEndingItsPicture) {
    const std::string thumbnail = "\xFF\xE1\x00\x06\xFF\xD8\xFF\xD9"s;
    const std::string scan = "\xFF\xDA\x00\x04\x01\x02"s + "\x12\xFF\x00\x34\xFF\xD3\x56"s;
    const std::string jpeg = "\xFF\xD8"s + thumbnail + scan + "\xFF\xD9"s;
    EXPECT_EQ(PictureKindOf(jpeg), PictureKind::kJpeg);
    EXPECT_FALSE(PictureCutShort(jpeg, jpeg.size()));
    for (std::size_t cut = 3; cut < jpeg.size(); ++cut) {
        EXPECT_TRUE(PictureCutShort(jpeg.substr(0, cut), cut)) << cut;
    }
    // A second scan after tables, as a progressive JPEG has.
    const std::string progressive = "\xFF\xD8"s + scan + "\xFF\xC4\x00\x03\x00"s + scan;
    EXPECT_FALSE(PictureCutShort(progressive + "\xFF\xD9"s, progressive.size() + 2));
    EXPECT_TRUE(PictureCutShort(progressive, progressive.size()));
    // Not ours to judge: other formats.
    EXPECT_FALSE(PictureCutShort("\x89PNG\r\n\x1A\n"s, 8));
}

}  // namespace
}  // namespace kx::core
