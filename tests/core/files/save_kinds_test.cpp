// The save kinds of other tools' files: the names they accept, the extension
// a bare name takes, and the name the save window offers.
#include <gtest/gtest.h>

#include "core/files/listing.h"
#include "core/files/save_kinds.h"

namespace kx::core {
namespace {

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
    EXPECT_EQ(WithDefaultExtension(kSaveCProgram, "/d/calc"), "/d/calc.c");
    EXPECT_EQ(WithDefaultExtension(kSavePythonProgram, "/d/calc"), "/d/calc.py");
    EXPECT_EQ(WithDefaultExtension(kSavePlot, "/d/plot"), "/d/plot.pdf");
    EXPECT_EQ(WithDefaultExtension(kSaveValidation, "/d/check"), "/d/check.txt");
    // A point anywhere in the file's name, but not in its folder's, keeps it.
    EXPECT_EQ(WithDefaultExtension(kSavePlot, "/d/plot.jpg"), "/d/plot.jpg");
    EXPECT_EQ(WithDefaultExtension(kSaveCProgram, "/d.x/calc"), "/d.x/calc.c");
    // The system's kinds and a bare folder are left as typed.
    EXPECT_EQ(WithDefaultExtension(kSaveProgram, "/d/prog"), "/d/prog");
    EXPECT_EQ(WithDefaultExtension(kSaveCProgram, "/d/"), "/d/");
}

TEST(SaveKinds, TheOfferedNameNeverIsTheRememberedDataFile) {
    FileMemory memory;
    EXPECT_EQ(SuggestedSaveName(kSaveCProgram, memory), "kx_calc.c");
    memory.folderName = "/work";
    EXPECT_EQ(SuggestedSaveName(kSavePythonProgram, memory), "/work/kx_calc.py");
    EXPECT_EQ(SuggestedSaveName(kSavePlot, memory), "/work/plot.pdf");
    memory.folderName = "/";
    EXPECT_EQ(SuggestedSaveName(kSaveValidation, memory), "/check.txt");
    memory.fileName = "/work/family.dat";
    EXPECT_EQ(SuggestedSaveName(kSaveCProgram, memory), "/work/family.c");
    EXPECT_EQ(SuggestedSaveName(kSaveValidation, memory), "/work/family.txt");
    memory.fileName = "/work.d/family";
    EXPECT_EQ(SuggestedSaveName(kSavePlot, memory), "/work.d/family.pdf");
    memory.fileName = "/work/.profile";
    EXPECT_EQ(SuggestedSaveName(kSavePlot, memory), "/work/.profile.pdf");
    // The system's own kinds offer the remembered name itself.
    EXPECT_EQ(SuggestedSaveName(kSaveProgram, memory), "");
    EXPECT_EQ(DefaultFilterOf(kSaveAllLines), "");
    EXPECT_EQ(DefaultFilterOf(kSavePlot), "*.pdf;*.svg;*.png");
}

}  // namespace
}  // namespace kx::core
