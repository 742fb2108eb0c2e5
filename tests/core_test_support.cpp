#include "core_test_support.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace orvex_test {

namespace {

std::vector<std::string>& FolderStack()
{
    static std::vector<std::string> stack;
    return stack;
}

}  // namespace

std::string MakeScratchFolder(const std::string& name)
{
    namespace fs = std::filesystem;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    // One folder per test: CTest runs each test in a process of its own, and a rerun starts
    // from an empty folder again.
    std::string leaf = name;
    if (test)
        leaf += std::string("_") + test->test_suite_name() + "_" + test->name();
    fs::path folder = fs::path(ORVEX_BINARY_DIR) / "test_scratch" / leaf;
    std::error_code error;
    fs::remove_all(folder, error);
    fs::create_directories(folder);
    return folder.string();
}

void EnterFolder(const std::string& folder)
{
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    FolderStack().push_back(here);
    ASSERT_EQ(chdir(folder.c_str()), 0) << folder;
}

void LeaveFolder()
{
    if (FolderStack().empty())
        return;
    EXPECT_EQ(chdir(FolderStack().back().c_str()), 0);
    FolderStack().pop_back();
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
    ASSERT_TRUE(out.good()) << path;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

void MakeFolder(const std::string& path)
{
    std::filesystem::create_directories(path);
}

void CopyFromData(const std::string& folder, const std::string& relativePath)
{
    namespace fs = std::filesystem;
    fs::path from = fs::path(ORVEX_SOURCE_DIR) / "data" / relativePath;
    fs::path to = fs::path(folder) / relativePath;
    fs::create_directories(to.parent_path());
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

}  // namespace orvex_test
