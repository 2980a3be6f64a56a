#pragma once

#include <cstdint>
#include <string_view>

// What a picture file's own bytes say before and after it is decoded: how much
// memory it takes as the canvas shows it, and whether the file holds all the
// pixels its header promises. The readers of the window layer decode a file
// that ends early into a partial picture without a word.
namespace kx::core {

// The canvas holds a picture at 4 bytes a pixel (32-bit RGB); larger pictures
// are refused before they are decoded.
inline constexpr std::uint64_t kShownPixelBytes = 4;
inline constexpr std::uint64_t kMostShownPictureBytes = std::uint64_t{512} << 20;

constexpr std::uint64_t ShownPictureBytes(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 ? static_cast<std::uint64_t>(width) *
                                         static_cast<std::uint64_t>(height) * kShownPixelBytes
                                   : 0;
}

// How many of a file's first bytes tell its kind, and suffice PictureCutShort
// for a BMP.
inline constexpr std::size_t kPictureHeadBytes = 64;

enum class PictureKind { kBmp, kJpeg, kOther };

PictureKind PictureKindOf(std::string_view head);

// Whether the file of `fileSize` bytes ends before its picture does. `bytes`
// are the file's bytes: of a BMP its first kPictureHeadBytes suffice (its
// uncompressed rows need more bytes than the file holds), of a JPEG all of
// them (the entropy-coded data runs out before the marker ending the
// picture). Other formats, compressed BMPs and bytes that are no sound header
// are not judged here: false.
bool PictureCutShort(std::string_view bytes, std::uint64_t fileSize);

}  // namespace kx::core
