#include "core/codegen/source_number.h"

#include <charconv>
#include <cstdlib>

namespace kx::core {
namespace {

template <typename T>
std::string Shortest(T value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

}  // namespace

std::string DoubleSource(double value) {
    return Shortest(value);
}

std::string FloatSourceC(float value) {
    return Shortest(value) + "f";
}

std::string FloatSourcePython(float value) {
    const std::string text = Shortest(value);
    // Rounded twice (to a double, then to a float), the shortest text can in
    // rare cases land on the neighbouring float.
    if (static_cast<float>(std::strtod(text.c_str(), nullptr)) == value) return text;
    return DoubleSource(value);
}

}  // namespace kx::core
