// The save kinds of other tools' files: the names they accept, the extension
// a bare name takes, and the name the save window offers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/files/file_names.h"
#include "core/files/listing.h"
#include "core/files/save_kinds.h"

namespace kx::core {
namespace {

// A name written with "/" in the platform's own separators.
std::string Native(std::string name) {
    std::replace(name.begin(), name.end(), '/', kNativeSeparator);
    return name;
}

TEST(SaveKinds, NamesAreCheckedByTheKindsOwnRule) {
    struct Case {
        int kind;
        const char* name;
        bool suits;
    };
    const Case cases[] = {
        // The system's rule for its own kinds and the check table.
        {kSaveProgram, "x.c", false},
        {kSaveProgram, "ab.da", true},
        {kSaveValidation, "a.d", false},
        {kSaveValidation, "check.txt", true},
        // A program of another language needs an extension, however short.
        {kSaveCProgram, "x.c", true},
        {kSaveCProgram, "calc", false},
        {kSaveCProgram, "calc.", false},
        {kSaveCProgram, ".c", false},
        {kSavePythonProgram, "kx_calc.py", true},
        // The plot names its format, in any case.
        {kSavePlot, "plot.pdf", true},
        {kSavePlot, "Plot.SVG", true},
        {kSavePlot, "a.b.png", true},
        {kSavePlot, "plot.png.txt", false},
        {kSavePlot, "plot.jpg", false},
        {kSavePlot, ".pdf", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SuitsSaveKind(c.kind, c.name), c.suits) << c.kind << " " << c.name;
    }
}

TEST(SaveKinds, ABareNameTakesTheKindsExtension) {
    EXPECT_EQ(WithDefaultExtension(kSaveCProgram, Native("/d/calc")), Native("/d/calc.c"));
    EXPECT_EQ(WithDefaultExtension(kSavePythonProgram, Native("/d/calc")), Native("/d/calc.py"));
    EXPECT_EQ(WithDefaultExtension(kSavePlot, Native("/d/plot")), Native("/d/plot.pdf"));
    EXPECT_EQ(WithDefaultExtension(kSaveValidation, Native("/d/check")), Native("/d/check.txt"));
    // A point anywhere in the file's name, but not in its folder's, keeps it.
    EXPECT_EQ(WithDefaultExtension(kSavePlot, Native("/d/plot.jpg")), Native("/d/plot.jpg"));
    EXPECT_EQ(WithDefaultExtension(kSaveCProgram, Native("/d.x/calc")), Native("/d.x/calc.c"));
    // The system's kinds and a bare folder are left as typed.
    EXPECT_EQ(WithDefaultExtension(kSaveProgram, Native("/d/prog")), Native("/d/prog"));
    EXPECT_EQ(WithDefaultExtension(kSaveCProgram, Native("/d/")), Native("/d/"));
}

TEST(SaveKinds, TheOfferedNameNeverIsTheRememberedDataFile) {
    FileMemory memory;
    EXPECT_EQ(SuggestedSaveName(kSaveCProgram, memory), "kx_calc.c");
    memory.folderName = Native("/work");
    EXPECT_EQ(SuggestedSaveName(kSavePythonProgram, memory), Native("/work/kx_calc.py"));
    EXPECT_EQ(SuggestedSaveName(kSavePlot, memory), Native("/work/plot.pdf"));
    memory.folderName = Native("/");
    EXPECT_EQ(SuggestedSaveName(kSaveValidation, memory), Native("/check.txt"));
    memory.fileName = Native("/work/family.dat");
    EXPECT_EQ(SuggestedSaveName(kSaveCProgram, memory), Native("/work/family.c"));
    EXPECT_EQ(SuggestedSaveName(kSaveValidation, memory), Native("/work/family.txt"));
    memory.fileName = Native("/work.d/family");
    EXPECT_EQ(SuggestedSaveName(kSavePlot, memory), Native("/work.d/family.pdf"));
    memory.fileName = Native("/work/.profile");
    EXPECT_EQ(SuggestedSaveName(kSavePlot, memory), Native("/work/.profile.pdf"));
    // The system's own kinds offer the remembered name itself.
    EXPECT_EQ(SuggestedSaveName(kSaveProgram, memory), "");
    EXPECT_EQ(DefaultFilterOf(kSaveAllLines), "");
    EXPECT_EQ(DefaultFilterOf(kSavePlot), "*.pdf;*.svg;*.png");
}

}  // namespace
}  // namespace kx::core
