#include "core/files/save_kinds.h"

#include <cctype>

#include "core/files/file_names.h"
#include "core/files/listing.h"
#include "core/files/save_checks.h"

namespace kx::core {
namespace {

struct OwnKind {
    int kind;
    std::string_view extension;
    std::string_view filter;
    std::string_view name;  // offered when no file is remembered
};

// The check table is a listing like the others and lists the data filter.
constexpr OwnKind kOwnKinds[] = {
    {kSaveCProgram, ".c", "*.c;*.h", "kx_calc.c"},
    {kSavePythonProgram, ".py", "*.py", "kx_calc.py"},
    {kSaveValidation, ".txt", "", "check.txt"},
    {kSavePlot, ".pdf", "*.pdf;*.svg;*.png", "plot.pdf"},
    {kSaveMatlabProgram, ".m", "*.m", "kx_calc.m"},
    {kSaveJavaScriptProgram, ".mjs", "*.mjs;*.js", "kx_calc.mjs"},
    {kSaveCSharpProgram, ".cs", "*.cs", "KxCalc.cs"},
    {kSaveFortranProgram, ".f90", "*.f90;*.f95;*.f03;*.f08", "kx_calc.f90"},
    {kSaveSession, ".kxs", "*.kxs", "work.kxs"},
};

const OwnKind* OwnKindOf(int saveKind) {
    for (const OwnKind& own : kOwnKinds) {
        if (own.kind == saveKind) return &own;
    }
    return nullptr;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The file name after the folder's separator.
std::size_t TitleStart(std::string_view fullName) {
    const std::size_t separator = fullName.find_last_of(kNativeSeparator);
    return separator == std::string_view::npos ? 0 : separator + 1;
}

}  // namespace

std::string_view DefaultExtensionOf(int saveKind) {
    const OwnKind* own = OwnKindOf(saveKind);
    return own != nullptr ? own->extension : std::string_view();
}

std::string_view DefaultFilterOf(int saveKind) {
    const OwnKind* own = OwnKindOf(saveKind);
    return own != nullptr ? own->filter : std::string_view();
}

bool SuitsSaveKind(int saveKind, std::string_view fileName) {
    const std::size_t point = fileName.rfind('.');
    switch (saveKind) {
        case kSaveCProgram:
        case kSavePythonProgram:
        case kSaveMatlabProgram:
        case kSaveJavaScriptProgram:
        case kSaveCSharpProgram:
        case kSaveFortranProgram:
        case kSaveSession:
            return point != std::string_view::npos && point > 0 && point + 1 < fileName.size();
        case kSavePlot: {
            if (point == std::string_view::npos || point == 0) return false;
            const std::string extension = Lower(fileName.substr(point));
            return extension == ".pdf" || extension == ".svg" || extension == ".png";
        }
        default: return IsSaveableName(fileName);
    }
}

std::string WithDefaultExtension(int saveKind, const std::string& fullName) {
    const std::string_view extension = DefaultExtensionOf(saveKind);
    const std::string_view title = std::string_view(fullName).substr(TitleStart(fullName));
    if (extension.empty() || title.empty() || title.find('.') != std::string_view::npos)
        return fullName;
    return fullName + std::string(extension);
}

std::string SuggestedSaveName(int saveKind, const FileMemory& memory) {
    const OwnKind* own = OwnKindOf(saveKind);
    if (own == nullptr) return {};
    if (!memory.fileName.empty()) {
        const std::string& name = memory.fileName;
        const std::size_t start = TitleStart(name);
        const std::size_t point = name.find('.', start);
        // A name that is all extension (".profile") keeps it as its stem.
        const std::size_t stemEnd =
            point == std::string::npos || point == start ? name.size() : point;
        return name.substr(0, stemEnd) + std::string(own->extension);
    }
    if (memory.folderName.empty()) return std::string(own->name);
    return FullFileName(memory.folderName, own->name);
}

}  // namespace kx::core
