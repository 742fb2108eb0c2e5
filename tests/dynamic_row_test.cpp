#include "foundation/dynamic_row.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

using orvex_test::ScratchDir;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int countEntries(const std::string& folder)
{
    int entries = 0;
    for (fs::directory_iterator it(folder); it != fs::directory_iterator(); ++it)
        ++entries;
    return entries;
}

// The tree as one line of text that tells kinds, names and nesting apart.
void describe(const DynamicRow& tree, unsigned int parent, std::string& out)
{
    for (unsigned int id = tree.TopId(parent); id; id = tree.NextId(id)) {
        out += tree.IsKnot(id) ? "K[" : "P[";
        out += tree.iLookName(id).getChars();
        out += "]";
        if (tree.IsKnot(id)) {
            out += "(";
            describe(tree, id, out);
            out += ")";
        }
    }
}

std::string describe(const DynamicRow& tree)
{
    std::string out;
    describe(tree, 0, out);
    return out;
}

TEST(DynamicRow, ReadsTheHandWrittenFormat)
{
    struct Case { const char* text; const char* tree; };
    const Case cases[] = {
        {"", ""},
        {"# only a comment", ""},
        {"a b c", "P[a]P[b]P[c]"},
        {"k { }", "K[k]()"},
        {"k{a}", "K[k](P[a])"},
        {"_POSITION_ { 0 10 -50 }", "K[_POSITION_](P[0]P[10]P[-50])"},
        {"_OBJECT_PATH_ { objects\\floor.obj }", "K[_OBJECT_PATH_](P[objects\\floor.obj])"},
        {"\"textures\\_def\\white.bmp\"", "P[textures\\_def\\white.bmp]"},
        {"\"say \\\"hi\\\" \\\\ ok\"", "P[say \"hi\" \\ ok]"},
        {"\"two\nlines\"", "P[two\nlines]"},
        {"\"\" { }", "K[]()"},
        {"a#b # comment { \n c", "P[a#b]P[c]"},
        {"x # comment\n { y }", "K[x](P[y])"},
        {"a\"b\"", "P[a]P[b]"},
        {"k {\r\n\tv\r\n}\r\n", "K[k](P[v])"},
        {"\xCF\xE0\xF0 { \xFF }", "K[\xCF\xE0\xF0](P[\xFF])"},
        {"\xEF\xBB\xBFk { \xEF\xBB\xBFv }", "K[k](P[\xEF\xBB\xBFv])"},
    };
    for (const Case& c : cases) {
        DynamicRow tree;
        EXPECT_TRUE(tree.LoadFromText(c.text, std::strlen(c.text))) << c.text;
        EXPECT_EQ(describe(tree), c.tree) << c.text;
    }
}

TEST(DynamicRow, BadTextFailsWholeAndLeavesTheTreeEmpty)
{
    const std::string longName(1024, 'n');
    struct Case { std::string text; const char* why; };
    const Case cases[] = {
        {"a {", "unclosed knot"},
        {"a { b { }", "unclosed inner knot"},
        {"}", "closing brace at the top"},
        {"a { } }", "one brace too many"},
        {"{ a }", "brace without a name"},
        {"a { } { }", "second brace without a name"},
        {"a { { } }", "brace right after a brace"},
        {"\"abc", "unterminated quote"},
        {"\"abc\\\"", "quote escaped at the end"},
        {"k { \"v }", "quote running past the brace"},
        {longName, "bare name of 1024 bytes"},
        {"\"" + longName + "\"", "quoted name of 1024 bytes"},
        {std::string("a\0b", 3), "NUL byte"},
        {std::string(257, '{'), "braces without names"},
        {std::string(10u << 20, '{'), "10 MB of braces"},
    };
    for (const Case& c : cases) {
        DynamicRow tree;
        ASSERT_TRUE(tree.LoadFromText("old { content }", 15));
        EXPECT_FALSE(tree.LoadFromText(c.text.data(), c.text.size())) << c.why;
        EXPECT_EQ(tree.NodeCount(), 0u) << c.why;
        EXPECT_EQ(tree.TopId(0), 0u) << c.why;
        EXPECT_EQ(tree.iCountKnots(1) + tree.iCountParams(1), 0) << c.why;
        EXPECT_FALSE(tree.DeleteById(1)) << c.why;
        EXPECT_FALSE(tree.IsLoaded()) << c.why;
    }
    DynamicRow tree;
    ASSERT_TRUE(tree.LoadFromText("old { content }", 15));
    EXPECT_FALSE(tree.iLoadFromFile("no such file"));
    EXPECT_EQ(tree.NodeCount(), 0u) << "a file that cannot be read";
}

TEST(DynamicRow, NestingIsLimitedTo256Levels)
{
    auto nest = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "k { ";
        text += "leaf";
        for (int i = 0; i < depth; ++i)
            text += " }";
        return text;
    };
    DynamicRow tree;
    const std::string ok = nest(256);
    EXPECT_TRUE(tree.LoadFromText(ok.data(), ok.size()));
    EXPECT_EQ(tree.NodeCount(), 257u);
    const std::string deep = nest(257);
    EXPECT_FALSE(tree.LoadFromText(deep.data(), deep.size()));

    // A tree built deeper than a file may be cannot be saved: it could not be read back.
    DynamicRow built;
    unsigned int parent = 0;
    for (int i = 0; i < 300; ++i)
        parent = built.AddToId(parent, true, "k");
    std::string text = "untouched";
    EXPECT_FALSE(built.SaveToText(text));
    EXPECT_TRUE(text.empty());
}

TEST(DynamicRow, AnyTreeSurvivesSaveAndLoad)
{
    const std::string names[] = {
        "plain", "with blanks", "tab\there", "\"quoted\"", "back\\slash", "ends with \\",
        "\\\"", "{", "}", "a{b}c", "#hash", "mid#hash", "line\nbreak", "cr\rlf",
        "\xCF\xE0\xF0\xE0\xEC\xE5\xF2\xF0\xFB \xE8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xE8",
        "", " ", std::string(1023, 'x'), std::string(1022, '\\') + "\"", "objects\\floor.obj",
        "\xEF\xBB\xBF", "\xEF\xBB\xBF" "bom",
    };
    DynamicRow tree;
    tree.AddToId(0, false, "\xEF\xBB\xBF");  // first in the file, where a reader skips a byte-order mark
    const unsigned int section = tree.AddToId(0, true, "_SECTION_");
    for (const std::string& name : names) {
        tree.AddToId(0, false, name.c_str());
        const unsigned int k = tree.AddToId(section, true, name.c_str());
        tree.AddToId(k, false, name.c_str());
        tree.AddToId(tree.AddToId(k, true, name.c_str()), true, name.c_str());
        tree.AddToId(section, true, name.c_str());  // an empty knot
    }
    std::string text;
    ASSERT_TRUE(tree.SaveToText(text));
    DynamicRow back;
    ASSERT_TRUE(back.LoadFromText(text.data(), text.size()));
    EXPECT_EQ(describe(back), describe(tree));
    EXPECT_EQ(back.NodeCount(), tree.NodeCount());
    std::string again;
    ASSERT_TRUE(back.SaveToText(again));
    EXPECT_EQ(again, text);
}

TEST(DynamicRow, WritesKnotsOfParametersOnOneLineAndIndentsByFour)
{
    DynamicRow tree;
    const unsigned int cam = tree.AddToId(tree.AddToId(0, true, "_CAMERAS_"), true, "main_cam");
    tree.AddToIdSeparated(tree.AddToId(cam, true, "_POSITION_"), "0,10,-50", ',');
    tree.AddToId(cam, true, "_EMPTY_");
    tree.AddToId(tree.AddToId(0, true, "_OBJECT_PATH_"), false, "objects\\floor.obj");
    tree.AddToId(0, false, "a name");
    std::string text;
    ASSERT_TRUE(tree.SaveToText(text));
    EXPECT_EQ(text,
              "_CAMERAS_ {\n"
              "    main_cam {\n"
              "        _POSITION_ { 0 10 -50 }\n"
              "        _EMPTY_ { }\n"
              "    }\n"
              "}\n"
              "_OBJECT_PATH_ { objects\\floor.obj }\n"
              "\"a name\"\n");
}

// The write of the new file runs into the process's file size limit (RLIMIT_FSIZE, which
// binds root too) after 4 KiB: the save must fail and leave the old file as it was.
TEST(DynamicRow, SaveThatFailsHalfWayLeavesTheOldFileWhole)
{
    ScratchDir dir;
    const std::string old = "LOG { \"[0:0] old line\" }\n";
    const std::string path = dir.Write("LOG.dr", old);
    DynamicRow tree;
    const unsigned int log = tree.AddToId(0, true, "LOG");
    for (int i = 0; i < 2000; ++i)
        tree.AddToId(tree.AddToId(log, true, "[1:500] a line of the log"), false, "_TEXT_");

    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool result = tree.iSaveToFile(path.c_str());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(result);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(countEntries(dir.path()), 1) << "the unfinished temporary file is removed";
}

TEST(DynamicRow, VeryDeepTreesAreWalkedWithoutRecursion)
{
    DynamicRow tree;
    unsigned int parent = 0;
    unsigned int first = 0;
    for (int i = 0; i < 200000; ++i) {
        parent = tree.AddToId(parent, true, "k");
        if (!first)
            first = parent;
    }
    tree.AddToId(parent, false, "bottom");
    EXPECT_EQ(tree.iLookId("bottom"), parent + 1);
    DynamicRow copy = tree;
    EXPECT_TRUE(tree.DeleteById(first));
    EXPECT_EQ(tree.NodeCount(), 0u);
    EXPECT_EQ(copy.NodeCount(), 200001u);
}

}  // namespace
