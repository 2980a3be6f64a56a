#include "core/files/cp932.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace kx::core {
namespace {

bool HasNonAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

// The string literals of a C++ source text (ordinary and u8 literals; raw
// strings up to their delimiter), skipping comments and character literals.
std::vector<std::string> StringLiterals(const std::string& source) {
    std::vector<std::string> literals;
    std::size_t i = 0;
    while (i < source.size()) {
        if (source.compare(i, 2, "//") == 0) {
            i = source.find('\n', i);
            if (i == std::string::npos) break;
        } else if (source.compare(i, 2, "/*") == 0) {
            i = source.find("*/", i + 2);
            if (i == std::string::npos) break;
            i += 2;
        } else if (source.compare(i, 2, "R\"") == 0) {
            const std::size_t open = source.find('(', i + 2);
            if (open == std::string::npos) break;
            const std::string close = ")" + source.substr(i + 2, open - i - 2) + "\"";
            const std::size_t end = source.find(close, open);
            if (end == std::string::npos) break;
            literals.push_back(source.substr(open + 1, end - open - 1));
            i = end + close.size();
        } else if (source[i] == '\'' && i > 0 &&
                   std::isalnum(static_cast<unsigned char>(source[i - 1]))) {
            ++i;  // a digit separator (1'000), not a character literal
        } else if (source[i] == '"' || source[i] == '\'') {
            const char quote = source[i];
            std::string literal;
            ++i;
            while (i < source.size() && source[i] != quote && source[i] != '\n') {
                if (source[i] == '\\' && i + 1 < source.size()) literal += source[i++];
                literal += source[i++];
            }
            ++i;
            if (quote == '"') literals.push_back(literal);
        } else {
            ++i;
        }
    }
    return literals;
}

std::set<std::string> JapaneseLiteralsOfTheSources() {
    std::set<std::string> texts;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KX_SOURCE_DIR)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string source{std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>()};
        for (std::string& literal : StringLiterals(source)) {
            if (HasNonAscii(literal)) texts.insert(std::move(literal));
        }
    }
    return texts;
}

TEST(Cp932, EveryFixedTextOfTheSourcesRoundTrips) {
    const std::set<std::string> texts = JapaneseLiteralsOfTheSources();
    // The result lists and the front end's messages alone are more than this.
    ASSERT_GE(texts.size(), 10u) << "the scan of " << KX_SOURCE_DIR << " found too little";
    for (const std::string& text : texts) {
        const CodecResult encoded = Utf8ToCp932(text);
        ASSERT_EQ(encoded.status, CodecStatus::kOk) << text << " at byte " << encoded.offset;
        const CodecResult decoded = Cp932ToUtf8(encoded.text);
        ASSERT_EQ(decoded.status, CodecStatus::kOk) << text;
        EXPECT_EQ(decoded.text, text);
    }
}

TEST(Cp932, WindowsOnlyAndHalfWidthCharactersHaveTheirBytes) {
    // The wave dash and the full-width minus are what plain Shift-JIS lacks;
    // half-width katakana are one byte each.
    EXPECT_EQ(Utf8ToCp932("～－").text, "\x81\x60\x81\x7c");
    EXPECT_EQ(Utf8ToCp932("ﾌｧｲﾙ名不正").text, "\xcc\xa7\xb2\xd9\x96\xbc\x95\x73\x90\xb3");
    EXPECT_EQ(Cp932ToUtf8("\xcc\xa7\xb2\xd9\x93\xe0\x97\x65\x95\x73\x90\xb3").text,
              "ﾌｧｲﾙ内容不正");
    EXPECT_EQ(Utf8ToCp932("12.5,3.75\r\n").text, "12.5,3.75\r\n");
    EXPECT_EQ(Utf8ToCp932("").status, CodecStatus::kOk);
    EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)).text, std::string("a\0b", 3));
}

TEST(Cp932, BadInputIsReportedWithItsPlace) {
    struct Case {
        std::string input;
        bool fromCp932;
        CodecStatus status;
        std::size_t offset;
    };
    const Case cases[] = {
        {"ab\x81", true, CodecStatus::kInvalidInput, 2},       // cut after a lead byte
        {"1,2\x81\x20", true, CodecStatus::kInvalidInput, 3},  // a trail byte out of range
        {"\x80", true, CodecStatus::kInvalidInput, 0},         // not a character
        {"x\xa0", true, CodecStatus::kInvalidInput, 1},
        {"1,\xf0\x9f\x98\x80", false, CodecStatus::kUnmappable, 2},  // an emoji
        {"1,\xc3", false, CodecStatus::kInvalidInput, 2},            // cut UTF-8
        {"\xff\xfe", false, CodecStatus::kInvalidInput, 0},
    };
    for (const Case& c : cases) {
        const CodecResult result = c.fromCp932 ? Cp932ToUtf8(c.input) : Utf8ToCp932(c.input);
        EXPECT_EQ(result.status, c.status) << c.input;
        EXPECT_EQ(result.offset, c.offset) << c.input;
        EXPECT_TRUE(result.text.empty()) << c.input;
    }
}

// The platforms' converters (iconv, the Windows code-page API) must share one
// table: the same codes decode, to the same characters, and of the characters
// with two codes (the NEC and IBM rows) the same code is written back.
TEST(Cp932, EveryPlatformMapsTheWholeTableAlike) {
    struct Code {
        const char* bytes;
        const char* text;
        const char* writtenBack;  // of a character with two codes, the one written
    };
    const Code codes[] = {
        {"\x81\x5f", "＼", "\x81\x5f"}, {"\x81\x60", "～", "\x81\x60"},
        {"\x81\x61", "∥", "\x81\x61"},  {"\x81\x7c", "－", "\x81\x7c"},
        {"\x81\x91", "￠", "\x81\x91"}, {"\x81\xca", "￢", "\x81\xca"},
        {"\xee\xf9", "￢", "\x81\xca"}, {"\x87\x54", "Ⅰ", "\x87\x54"},
        {"\xfa\x4a", "Ⅰ", "\x87\x54"},  {"\xfa\x40", "ⅰ", "\xfa\x40"},
        {"\xee\xef", "ⅰ", "\xfa\x40"},  {"\x87\x90", "≒", "\x81\xe0"},
        {"\xed\x40", "纊", "\xfa\x5c"}, {"\xf0\x40", "\ue000", "\xf0\x40"},
        {"\\~", "\\~", "\\~"},
    };
    for (const Code& code : codes) {
        EXPECT_EQ(Cp932ToUtf8(code.bytes).text, code.text) << code.text;
        EXPECT_EQ(Utf8ToCp932(code.text).text, code.writtenBack) << code.text;
    }
    // Every well-formed code: how many decode, how many come back as
    // themselves, and a digest (FNV-1a) of all the characters, as iconv's
    // "CP932" gives them.
    int decoded = 0;
    int roundTrips = 0;
    std::uint64_t digest = 14695981039346656037u;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const CodecResult result = Cp932ToUtf8(code);
            if (result.status != CodecStatus::kOk) continue;
            ++decoded;
            if (Utf8ToCp932(result.text).text == code) ++roundTrips;
            for (char c : result.text)
                digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211u;
        }
    }
    EXPECT_EQ(decoded, 9604);
    EXPECT_EQ(roundTrips, 9206);
    EXPECT_EQ(digest, 4563933996382211805u);
}

TEST(Cp932, LongTextsGrowTheOutput) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "ﾃﾞｰﾀ数=12 誤差～\r\n";
    const CodecResult encoded = Utf8ToCp932(text);
    ASSERT_EQ(encoded.status, CodecStatus::kOk);
    EXPECT_EQ(Cp932ToUtf8(encoded.text).text, text);
}

}  // namespace
}  // namespace kx::core
