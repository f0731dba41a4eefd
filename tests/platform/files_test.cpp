#include "kestrune_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

string view(const std::string& text) { return string{text.data(), static_cast<int64_t>(text.size())}; }

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_all(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class FilesTest : public ::testing::Test {
protected:
    std::string root;

    void SetUp() override {
        char pattern[] = "/tmp/kestrune_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::string at(const std::string& name) const { return root + "/" + name; }
};

TEST_F(FilesTest, OpenModesAndMissingFiles) {
    EXPECT_TRUE(file_failed(file_open(view(at("missing")), FILE_READ)));
    EXPECT_TRUE(file_failed(file_open(view(at("missing")), FILE_READ_WRITE)));
    for (uint8_t mode : {0, 5, 7, 200}) EXPECT_TRUE(file_failed(file_open(view(at("any")), mode))) << int(mode);
    EXPECT_FALSE(std::filesystem::exists(at("any")));

    write_all(at("data"), "hello");
    file_handle* file = file_open(view(at("data")), FILE_WRITE);
    ASSERT_FALSE(file_failed(file));
    EXPECT_EQ(file_close(file), 0);
    EXPECT_EQ(std::filesystem::file_size(at("data")), 0u);

    file = file_open(view(at("log")), FILE_APPEND);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file_write(file, 3, "abc"), 3u);
    file_close(file);
    file = file_open(view(at("log")), FILE_READ_APPEND);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file_write(file, 2, "de"), 2u);
    file_close(file);
    EXPECT_EQ(read_all(at("log")), "abcde");

    file = file_open(view(at("log")), FILE_READ_WRITE);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file_seek(file, 1));
    EXPECT_EQ(file_write_byte(file, 'X'), 'X');
    file_close(file);
    EXPECT_EQ(read_all(at("log")), "aXcde");
}

TEST_F(FilesTest, ReadingSizeAndEnd) {
    write_all(at("data"), "0123456789");
    file_handle* file = file_open(view(at("data")), FILE_READ);
    ASSERT_NE(file, nullptr);
    char buffer[16] = {};
    EXPECT_EQ(file_read(file, 4, buffer), 4u);
    EXPECT_EQ(file_size(file), 10);
    EXPECT_EQ(file_read_byte(file), '4');
    EXPECT_EQ(file_end(file), 0);
    EXPECT_EQ(file_read(file, 16, buffer), 5u);
    EXPECT_EQ(std::string(buffer, 5), "56789");
    EXPECT_NE(file_end(file), 0);
    EXPECT_EQ(file_read_byte(file), -1);
    EXPECT_TRUE(file_seek(file, 9));
    EXPECT_EQ(file_read_byte(file), '9');
    file_close(file);
}

TEST_F(FilesTest, ExistsCreateDelete) {
    EXPECT_FALSE(file_exists(view(at("f"))));
    EXPECT_TRUE(file_create(view(at("f"))));
    EXPECT_TRUE(file_exists(view(at("f"))));
    EXPECT_FALSE(file_exists(view(root)));
    EXPECT_TRUE(directory_exists(view(root)));
    EXPECT_FALSE(directory_exists(view(at("f"))));
    EXPECT_FALSE(file_create(view(at("nowhere/f"))));
    EXPECT_TRUE(file_delete(view(at("f"))));
    EXPECT_FALSE(file_delete(view(at("f"))));
    EXPECT_FALSE(file_exists(view(at("f"))));
}

TEST_F(FilesTest, CopyKeepsDestinationWhenSourceFails) {
    write_all(at("target"), "precious");
    EXPECT_FALSE(file_copy(view(at("missing")), view(at("target"))));
    EXPECT_EQ(read_all(at("target")), "precious");
    EXPECT_FALSE(file_copy(view(at("missing")), view(at("new"))));
    EXPECT_FALSE(std::filesystem::exists(at("new")));

    std::filesystem::create_directory(at("folder"));
    EXPECT_FALSE(file_copy(view(at("folder")), view(at("target"))));
    EXPECT_EQ(read_all(at("target")), "precious");

    EXPECT_FALSE(file_copy(view(at("target")), view(at("target"))));
    EXPECT_EQ(read_all(at("target")), "precious");

    std::string bytes("line\nwith\0zero\xff", 15);
    write_all(at("source"), bytes);
    EXPECT_TRUE(file_copy(view(at("source")), view(at("target"))));
    EXPECT_EQ(read_all(at("target")), bytes);
    EXPECT_FALSE(file_copy(view(at("source")), view(at("nowhere/target"))));
}

TEST_F(FilesTest, RenamesNeverReplaceAndCheckTheKind) {
    write_all(at("a"), "A");
    write_all(at("b"), "B");
    std::filesystem::create_directory(at("dir"));
    std::filesystem::create_directory(at("dir2"));

    EXPECT_FALSE(file_rename(view(at("a")), view(at("b"))));
    EXPECT_EQ(read_all(at("b")), "B");
    EXPECT_FALSE(file_rename(view(at("dir")), view(at("moved"))));
    EXPECT_TRUE(std::filesystem::is_directory(at("dir")));
    EXPECT_FALSE(file_rename(view(at("missing")), view(at("c"))));
    EXPECT_TRUE(file_rename(view(at("a")), view(at("c"))));
    EXPECT_EQ(read_all(at("c")), "A");
    EXPECT_FALSE(std::filesystem::exists(at("a")));

    EXPECT_FALSE(directory_rename(view(at("c")), view(at("d"))));
    EXPECT_FALSE(directory_rename(view(at("missing")), view(at("d"))));
    EXPECT_FALSE(directory_rename(view(at("dir")), view(at("dir2"))));
    EXPECT_FALSE(directory_rename(view(at("dir")), view(at("b"))));
    EXPECT_TRUE(directory_rename(view(at("dir")), view(at("renamed"))));
    EXPECT_TRUE(directory_exists(view(at("renamed"))));
    EXPECT_FALSE(directory_exists(view(at("dir"))));
}

TEST_F(FilesTest, DirectoryCreateDelete) {
    EXPECT_TRUE(directory_create(view(at("sub"))));
    EXPECT_FALSE(directory_create(view(at("sub"))));
    EXPECT_FALSE(directory_create(view(at("x/y"))));
    write_all(at("sub/file"), "1");
    EXPECT_FALSE(directory_delete(view(at("sub"))));
    EXPECT_FALSE(file_delete(view(at("sub"))));
    std::filesystem::remove(at("sub/file"));
    EXPECT_TRUE(directory_delete(view(at("sub"))));
    EXPECT_FALSE(directory_exists(view(at("sub"))));
}

std::vector<std::string> names(string* items, int64_t count) {
    std::vector<std::string> result;
    for (int64_t i = 0; i < count; i++) {
        EXPECT_EQ(items[i].data[items[i].length], '\0');
        result.emplace_back(items[i].data, static_cast<size_t>(items[i].length));
    }
    std::sort(result.begin(), result.end());
    return result;
}

TEST_F(FilesTest, DirectoryListing) {
    directory_content empty = directory_get_content(view(root));
    EXPECT_EQ(names(empty.directories, empty.directory_count), (std::vector<std::string>{".", ".."}));
    EXPECT_EQ(empty.file_count, 0);

    directory_content missing = directory_get_content(view(at("missing")));
    EXPECT_EQ(missing.directories, nullptr);
    EXPECT_EQ(missing.directory_count, 0);
    EXPECT_EQ(missing.files, nullptr);
    EXPECT_EQ(missing.file_count, 0);

    std::filesystem::create_directory(at("maps"));
    for (int i = 0; i < 20; i++) write_all(at("file " + std::to_string(i) + ".txt"), "x");
    directory_content full = directory_get_content(view(root));
    EXPECT_EQ(names(full.directories, full.directory_count), (std::vector<std::string>{".", "..", "maps"}));
    std::vector<std::string> files = names(full.files, full.file_count);
    ASSERT_EQ(files.size(), 20u);
    EXPECT_EQ(files[0], "file 0.txt");
}

}  // namespace
