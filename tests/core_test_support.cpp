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

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

}  // namespace

::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& text)
{
    std::string path = std::string(ORVEX_SOURCE_DIR) + "/tests/golden/" + name;
    const char* rewrite = getenv("ORVEX_WRITE_GOLDEN");
    if (rewrite && std::string(rewrite) == "1") {
        WriteFile(path, text);
        return ::testing::AssertionSuccess();
    }
    std::vector<std::string> expected = Lines(ReadFile(path)), actual = Lines(text);
    size_t line = 0;
    while (line < expected.size() && line < actual.size() && expected[line] == actual[line])
        ++line;
    if (line == expected.size() && line == actual.size())
        return ::testing::AssertionSuccess();
    auto at = [line](const std::vector<std::string>& lines) {
        return line < lines.size() ? "\"" + lines[line] + "\"" : std::string("(no line)");
    };
    return ::testing::AssertionFailure()
           << path << " differs first at line " << line + 1 << "\n  record: " << at(expected)
           << "\n  now:    " << at(actual)
           << "\nIf the change is meant, rewrite the record with ORVEX_WRITE_GOLDEN=1 in the "
              "environment, run the test again and review the record's diff.";
}

std::string Printable(const std::string& bytes)
{
    std::string text;
    for (unsigned char c : bytes) {
        if ((c >= 0x20 && c < 0x7F) || c == '\n') {
            text += (char)c;
        } else {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\x%02X", c);
            text += escaped;
        }
    }
    return text;
}

}  // namespace orvex_test
