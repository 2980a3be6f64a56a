#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/files/file_filter.h"
#include "core/files/file_names.h"
#include "core/files/listing.h"
#include "core/files/save_checks.h"
#include "temp_folder.h"

namespace kx::core {
namespace {

TEST(FileNames, FullNamesKeepOneSeparatorAtARoot) {
    EXPECT_EQ(FullFileName("/", "data.da", '/'), "/data.da");
    EXPECT_EQ(FullFileName("/home/u", "data.da", '/'), "/home/u/data.da");
    EXPECT_EQ(FullFileName("C:\\", "data.da", '\\'), "C:\\data.da");
    EXPECT_EQ(FullFileName("C:\\work", "data.da", '\\'), "C:\\work\\data.da");

    // The folder of a name is the way back: a root keeps its separator.
    EXPECT_EQ(FolderOfName("/data.da", '/'), "/");
    EXPECT_EQ(FolderOfName("/home/u/data.da", '/'), "/home/u");
    EXPECT_EQ(FolderOfName("C:\\data.da", '\\'), "C:\\");
    EXPECT_EQ(FolderOfName("C:\\work\\data.da", '\\'), "C:\\work");
    EXPECT_EQ(FolderOfName("data.da", '/'), "");
    for (const auto& [folder, separator] :
         std::vector<std::pair<std::string, char>>{{"/", '/'}, {"/a/b", '/'}, {"C:\\", '\\'}}) {
        EXPECT_EQ(FolderOfName(FullFileName(folder, "x.da", separator), separator), folder);
    }

    // A typed name lies in the folder shown unless it starts at a root.
    EXPECT_EQ(ResolvedFileName("/home/u", " ab.da ", '/'), "/home/u/ab.da");
    EXPECT_EQ(ResolvedFileName("/home/u", "/tmp/ab.da", '/'), "/tmp/ab.da");
    EXPECT_EQ(ResolvedFileName("C:\\work", "D:\\ab.da", '\\'), "D:\\ab.da");
    EXPECT_EQ(ResolvedFileName("C:\\work", "sub\\ab.da", '\\'), "C:\\work\\sub\\ab.da");
    EXPECT_EQ(ResolvedFileName("/home/u", "  ", '/'), "");
}

TEST(FileNames, TheDriveOfAFolderIsTheLongestRootItLiesOn) {
    const std::vector<std::string> mounts = {"/", "/mnt/usb", "/home"};
    EXPECT_EQ(DriveOfFolder("/mnt/usb/data", mounts, '/'), "/mnt/usb");
    EXPECT_EQ(DriveOfFolder("/mnt/usb", mounts, '/'), "/mnt/usb");
    EXPECT_EQ(DriveOfFolder("/mnt/usb2", mounts, '/'), "/");
    EXPECT_EQ(DriveOfFolder("/homework", mounts, '/'), "/");
    EXPECT_EQ(DriveOfFolder("/", mounts, '/'), "/");
    EXPECT_EQ(DriveOfFolder("/x", {"/mnt"}, '/'), "");
    // Drive letters: case does not matter.
    EXPECT_EQ(DriveOfFolder("c:\\Work", {"C:\\", "D:\\"}, '\\'), "C:\\");
}

TEST(FileNames, NamesTheWindowsTakeAndRefuse) {
    // Remembered while typed: a point and more than two characters.
    EXPECT_TRUE(IsRememberedName("a.d"));
    EXPECT_FALSE(IsRememberedName("a."));
    EXPECT_FALSE(IsRememberedName("abcd"));

    const struct {
        const char* name;
        bool saveable;
    } names[] = {{"a.d", false}, {"ab.da", true}, {"x.txt", true},     {".da", false},
                 {"abc", false}, {"a.bc", true},  {"データ.da", true}, {"デ.ﾃ", false}};
    for (const auto& n : names) EXPECT_EQ(IsSaveableName(n.name), n.saveable) << n.name;

    // Data extensions count only as three capitals after the first point.
    for (const char* name : {"NOTES.TXT", "a.DAT", "x.DOC", "b.DAX"}) {
        EXPECT_TRUE(HasCapitalDataExtension(name)) << name;
    }
    for (const char* name : {"notes.txt", "a.Dat", "a.DA", "a.DATA", "a.WRI", "TXT", "a.b.DAT"}) {
        EXPECT_FALSE(HasCapitalDataExtension(name)) << name;
    }
}

TEST(FileNames, FiltersMatchWithoutRegardToCase) {
    const FileFilter data("*.DA*;*.TX*;*.DO*;*.WR*");
    for (const char* name : {"family.dat", "FAMILY.DAT", "a.da", "notes.txt", "x.doc", "w.wri"}) {
        EXPECT_TRUE(data.Matches(name)) << name;
    }
    for (const char* name : {"graph.png", "family", "da.csv", "a.d"}) {
        EXPECT_FALSE(data.Matches(name)) << name;
    }
    const FileFilter picture(" *.bmp ; ;*.JP?G;*.TIF*");
    EXPECT_EQ(picture.patterns().size(), 3u);
    EXPECT_TRUE(picture.Matches("scan.BMP"));
    EXPECT_TRUE(picture.Matches("photo.jpeg"));
    EXPECT_FALSE(picture.Matches("photo.jpg"));  // "?" is one character, not none
    EXPECT_TRUE(picture.Matches("plate.tiff"));
    // "?" takes one character, not one byte.
    EXPECT_TRUE(FileFilter("?.da").Matches("デ.da"));
    EXPECT_TRUE(FileFilter("*ﾃﾞｰﾀ*").Matches("採取ﾃﾞｰﾀ.txt"));
    EXPECT_TRUE(FileFilter("").Matches("anything"));
    EXPECT_TRUE(FileFilter("a*b*c").Matches("aXbYbZc"));
    EXPECT_FALSE(FileFilter("a*b*c").Matches("aXbYbZ"));
}

TEST(FileNames, ClickedFilesAndExistingTargetsOfASave) {
    const test::TempFolder folder;
    test::PutFile(folder.file("NOTES.TXT"), "Meeting notes\r\n1,2\r\n");
    test::PutFile(folder.file("notes.txt"), "Meeting notes\r\n");
    test::PutFile(folder.file("DATA.DAT"), "25, 1 , 2\r\n1,2\r\n2,3\r\n");
    test::PutFile(folder.file("EMPTY.DAT"), "");

    EXPECT_FALSE(TakesClickedFile(kSaveAllLines, folder.file("NOTES.TXT")));
    EXPECT_FALSE(TakesClickedFile(kSaveSelectedLine, folder.file("NOTES.TXT")));
    for (int kind : {kSaveProgram, kSaveEquations, kSaveAllResults, kSaveHistory}) {
        EXPECT_TRUE(TakesClickedFile(kind, folder.file("NOTES.TXT"))) << kind;
    }
    EXPECT_TRUE(TakesClickedFile(kSaveAllLines, folder.file("notes.txt")));
    EXPECT_TRUE(TakesClickedFile(kSaveAllLines, folder.file("DATA.DAT")));
    EXPECT_TRUE(TakesClickedFile(kSaveAllLines, folder.file("EMPTY.DAT")));
    // A folder named with a point does not decide for the file in it.
    std::filesystem::create_directory(folder.path() / "old.DAT");
    test::PutFile(folder.file("old.DAT/notes"), "Meeting notes\r\n");
    EXPECT_TRUE(TakesClickedFile(kSaveAllLines, folder.file("old.DAT/notes")));

    EXPECT_TRUE(SaveTargetExists(folder.file("notes.txt")));
    EXPECT_TRUE(SaveTargetExists(folder.file("old.DAT")));  // a folder: asked, then refused
    EXPECT_FALSE(SaveTargetExists(folder.file("new.da")));
    EXPECT_FALSE(SaveTargetExists(folder.file("notes.txt/new.da")));
#ifndef _WIN32
    // A named pipe is never opened for the question.
    ASSERT_EQ(::mkfifo(folder.file("PIPE.DAT").c_str(), 0600), 0);
    EXPECT_TRUE(SaveTargetExists(folder.file("PIPE.DAT")));
    EXPECT_TRUE(TakesClickedFile(kSaveAllLines, folder.file("PIPE.DAT")));
#endif
}

}  // namespace
}  // namespace kx::core
