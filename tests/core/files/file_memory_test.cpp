#include "core/files/file_memory.h"

#include <gtest/gtest.h>

namespace kx::core {
namespace {

TEST(FileMemory, CancelForgetsTheFileButNotTheDriveOrFilters) {
    FileMemory memory;
    EXPECT_EQ(memory.dataFilter, "*.DA*;*.TX*;*.DO*;*.WR*");
    EXPECT_EQ(memory.pictureFilter, "*.BMP;*.JPG;*.JPEG;*.PNG;*.TIF*");
    memory.fileName = "C:\\data\\family.dat";
    memory.folderName = "C:\\data";
    memory.driveName = "c:";
    memory.fileTitle = FileTitleOf(memory.fileName);
    EXPECT_EQ(memory.fileTitle, "family.dat");
    ForgetFile(memory);
    EXPECT_EQ(memory.fileName, "");
    EXPECT_EQ(memory.folderName, "");
    EXPECT_EQ(memory.fileTitle, "");
    EXPECT_EQ(memory.driveName, "c:");

    memory.dataFilter.clear();
    memory.pictureFilter = "*.PNG";
    RestoreEmptyFilters(memory);
    EXPECT_EQ(memory.dataFilter, "*.DA*;*.TX*;*.DO*;*.WR*");
    EXPECT_EQ(memory.pictureFilter, "*.PNG");
    EXPECT_EQ(FileTitleOf("/home/u/ ab.dat "), "ab.dat");
    EXPECT_EQ(FileTitleOf("plain.txt"), "plain.txt");
}

}  // namespace
}  // namespace kx::core
