#pragma once

#include <string>
#include <string_view>
#include <vector>

// The filter of a file list: patterns separated by ";" ("*.DA*;*.TX*"), each
// with the wildcards "*" (any run of characters) and "?" (one character).
// Names match without regard to case, so "*.DA*" lists "family.dat".
namespace kx::core {

class FileFilter {
public:
    // The patterns of a filter text, blank-trimmed; empty pieces are dropped.
    // A filter without a pattern lists every file.
    explicit FileFilter(std::string_view filter);

    bool Matches(std::string_view fileName) const;
    const std::vector<std::u32string>& patterns() const { return patterns_; }

private:
    std::vector<std::u32string> patterns_;  // upper-cased code points
};

}  // namespace kx::core
