#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace kx::core {

// Appends `value` right-aligned in `width` characters (its last ones when
// longer), as the log's number fields are written.
void AppendRightAligned(std::string& line, int value, std::size_t width);

// The fitting log of a run. A run writes tens of thousands of lines, most of
// them the same few sections seen from different partitions, so the log keeps
// records and formats a line only when it is read: shown, copied or saved.
// Reading line i always gives the same text, and the text the run would have
// written.
class FittingLog {
public:
    // A fitted section as its lines in the log name it.
    struct Section {
        std::array<float, 5> c{};  // C1..C4 at 1..4
        float error = 0.0f;
        int16_t line = 0;
        int16_t firstIndex = 0;
        int16_t form = 0;
    };

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string;

        const_iterator(const FittingLog* log, std::size_t index) : log_(log), index_(index) {}
        std::string operator*() const { return (*log_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const FittingLog* log_;
        std::size_t index_;
    };

    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    std::string operator[](std::size_t index) const;
    std::string back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // The texts of lines first..size()-1.
    std::vector<std::string> Texts(std::size_t first = 0) const;

    // A line as it stands.
    void AddText(std::string line);
    // Keeps a section for the lines below; returns its number.
    std::size_t AddSection(const Section& section);
    // "C1=...  C2=...  C3=...  C4=..." of a kept section.
    void AddCoefficients(std::size_t section);
    // "[Para: L]  from   a to   b       EQ No=ff    誤差=e": the section's own
    // line, first point, form and error, with `last` as its last point.
    void AddPlacement(std::size_t section, int last);
    void AddRule();                  // 78 "-"
    void AddGap();                   // "  " between the sections of a partition
    void AddScore(float deviation);  // "  Deviation <<< e  Gr= g >>>"

private:
    enum class Kind : uint8_t { kText, kCoefficients, kPlacement, kRule, kGap, kScore };
    struct Record {
        Kind kind = Kind::kText;
        int16_t last = 0;
        uint32_t ref = 0;  // text or section number, or the score's bits
    };

    std::vector<Record> records_;
    std::vector<Section> sections_;
    std::vector<std::string> texts_;
};

}  // namespace kx::core
