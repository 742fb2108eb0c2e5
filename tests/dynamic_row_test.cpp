#include "foundation/dynamic_row.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
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

void writeFile(const std::string& path, const std::string& data)
{
    std::ofstream(path, std::ios::binary) << data;
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

std::string children(const DynamicRow& tree, unsigned int parent)
{
    std::string out;
    for (unsigned int id = tree.TopId(parent); id; id = tree.NextId(id)) {
        out += tree.iLookName(id).getChars();
        out += ';';
    }
    return out;
}

TEST(DynamicRow, IdsStartAtOneAndAbsentNodesAnswerZero)
{
    DynamicRow tree;
    EXPECT_EQ(tree.NodeCount(), 0u);
    EXPECT_EQ(tree.TopId(0), 0u);
    const unsigned int a = tree.AddToId(0, true, "A");
    const unsigned int b = tree.AddToId(a, false, "b");
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    EXPECT_EQ(tree.AddToId(99, true, "x"), 0u) << "no such parent";
    EXPECT_EQ(tree.AddToId(b, true, "x"), 0u) << "a parameter holds no children";
    for (unsigned int missing : {0u, 3u, 1000u, 0xFFFFFFFFu}) {
        EXPECT_EQ(tree.NextId(missing), 0u);
        EXPECT_TRUE(tree.iLookName(missing).empty());
        EXPECT_FALSE(tree.DeleteById(missing));
    }
    EXPECT_EQ(tree.TopId(3u), 0u);
    EXPECT_EQ(tree.iCountKnots(77), 0);
    EXPECT_EQ(tree.iLookId("nothing"), 0u);
    EXPECT_EQ(tree.iLookInFor(a, "nothing"), 0u);
    EXPECT_EQ(tree.iLookInFor(50, "b"), 0u);
    EXPECT_EQ(tree.NodeCount(), 2u) << "the root is not counted";

    tree.fresh();
    EXPECT_EQ(tree.NodeCount(), 0u);
    EXPECT_EQ(tree.iLookId("A"), 0u);
    EXPECT_EQ(tree.AddToId(0, true, "again"), 1u) << "ids start over after fresh";
}

TEST(DynamicRow, ChildrenKeepTheirOrderAndAreCountedByKind)
{
    DynamicRow tree;
    const unsigned int k = tree.AddToId(0, true, "SCREEN");
    tree.AddToId(k, false, "800");
    tree.AddToId(k, true, "sub");
    Orvex_string value = "600";
    tree.AddToId(k, false, value);
    EXPECT_EQ(children(tree, k), "800;sub;600;");
    EXPECT_EQ(tree.iCountParams(k), 2);
    EXPECT_EQ(tree.iCountKnots(k), 1);
    EXPECT_EQ(tree.iCountKnots(0), 1);
    EXPECT_EQ(tree.ParentId(tree.TopId(k)), k);

    const std::string huge(3000, 'n');
    const unsigned int h = tree.AddToId(0, false, huge.c_str());
    EXPECT_EQ(tree.iLookName(h).length(), 1023u);
}

TEST(DynamicRow, AddToIdSeparatedAddsEveryTrimmedPiece)
{
    struct Case { const char* text; char separator; const char* expected; };
    const Case cases[] = {
        {"800, 600", ',', "800;600;"},
        {" 100 ,130,\t170 ", ',', "100;130;170;"},
        {"1,,3", ',', "1;;3;"},
        {",", ',', ";;"},
        {"single", ',', "single;"},
        {"", ',', ""},
        {"a b c", ' ', "a;b;c;"},
    };
    for (const Case& c : cases) {
        DynamicRow tree;
        const unsigned int k = tree.AddToId(0, true, "K");
        tree.AddToIdSeparated(k, Orvex_string(c.text), c.separator);
        EXPECT_EQ(children(tree, k), c.expected) << '"' << c.text << '"';
        EXPECT_EQ(tree.iCountKnots(k), 0);
    }
}

TEST(DynamicRow, LookIdPrefersTheFirstKnotInDocumentOrder)
{
    // Both level layouts: the item listed as a parameter of its section and kept as a top-level
    // knot, or kept as a knot inside its section.
    DynamicRow flat;
    const char layout[] = "_CAMERAS_ { main_cam }\nmain_cam { _POSITION_ { 0 10 -50 } }";
    ASSERT_TRUE(flat.LoadFromText(layout, sizeof layout - 1));
    const unsigned int cam = flat.iLookId("main_cam");
    ASSERT_TRUE(flat.IsKnot(cam));
    EXPECT_EQ(flat.iLookInFor(cam, "_POSITION_"), flat.TopId(cam));

    DynamicRow nested;
    const char text[] = "_CAMERAS_ { main_cam { _POSITION_ { 0 10 -50 } } }";
    ASSERT_TRUE(nested.LoadFromText(text, sizeof text - 1));
    EXPECT_EQ(nested.iLookId("main_cam"), nested.TopId(nested.iLookId("_CAMERAS_")));

    // Document order, not the order of addition.
    DynamicRow tree;
    const unsigned int a = tree.AddToId(0, true, "A");
    const unsigned int b = tree.AddToId(0, true, "B");
    tree.AddToId(b, true, "x");
    const unsigned int early = tree.AddToId(a, true, "x");
    EXPECT_EQ(tree.iLookId("x"), early);

    // Only parameters of the name: the first of them in document order.
    DynamicRow params;
    const unsigned int p = params.AddToId(0, true, "P");
    const unsigned int q = params.AddToId(0, true, "Q");
    params.AddToId(q, false, "v");
    const unsigned int first = params.AddToId(p, false, "v");
    EXPECT_EQ(params.iLookId("v"), first);
    EXPECT_EQ(params.iLookId(Orvex_string("V")), 0u) << "names are case-sensitive";
}

TEST(DynamicRow, LookInForSearchesOnlyTheParentsChildren)
{
    DynamicRow tree;
    const unsigned int obj = tree.AddToId(0, true, "floor");
    const unsigned int inner = tree.AddToId(obj, true, "inner");
    tree.AddToId(inner, true, "_POSITION_");
    EXPECT_EQ(tree.iLookInFor(obj, "_POSITION_"), 0u);
    const unsigned int param = tree.AddToId(obj, false, "_POSITION_");
    EXPECT_EQ(tree.iLookInFor(obj, "_POSITION_"), param);
    const unsigned int knot = tree.AddToId(obj, true, "_POSITION_");
    EXPECT_EQ(tree.iLookInFor(obj, Orvex_string("_POSITION_")), knot);
    EXPECT_EQ(tree.iLookInFor(0, "floor"), obj);
}

TEST(DynamicRow, DeletingRemovesTheWholeSubtreeAndRelinksSiblings)
{
    DynamicRow tree;
    const unsigned int q = tree.AddToId(0, true, "TIME_LINE");
    unsigned int ids[5];
    for (int i = 0; i < 5; ++i)
        ids[i] = tree.AddToId(q, false, Orvex_string(std::to_string(i).c_str()));
    const unsigned int section = tree.AddToId(0, true, "S");
    const unsigned int deep = tree.AddToId(tree.AddToId(section, true, "k"), false, "v");
    EXPECT_EQ(tree.NodeCount(), 9u);

    EXPECT_TRUE(tree.DeleteById(ids[2]));  // middle
    EXPECT_EQ(children(tree, q), "0;1;3;4;");
    EXPECT_TRUE(tree.DeleteById(ids[0]));  // first
    EXPECT_TRUE(tree.DeleteById(ids[4]));  // last
    EXPECT_EQ(children(tree, q), "1;3;");
    EXPECT_EQ(tree.iCountParams(q), 2);
    const unsigned int added = tree.AddToId(q, false, "5");
    EXPECT_EQ(children(tree, q), "1;3;5;");
    EXPECT_GT(added, deep) << "ids of deleted nodes are not given out again";

    EXPECT_TRUE(tree.DeleteById(section));
    EXPECT_EQ(tree.NodeCount(), 4u);
    EXPECT_TRUE(tree.iLookName(deep).empty());
    EXPECT_EQ(tree.iLookId("v"), 0u);
    EXPECT_FALSE(tree.DeleteById(deep));
    EXPECT_FALSE(tree.DeleteById(section));
    EXPECT_FALSE(tree.DeleteById(0));
    EXPECT_EQ(tree.NextId(q), 0u);

    // The command queue's pattern: take the first child until none is left.
    while (unsigned int c = tree.TopId(q))
        ASSERT_TRUE(tree.DeleteById(c));
    EXPECT_EQ(tree.NodeCount(), 1u);
    EXPECT_EQ(tree.iCountParams(q), 0);
    EXPECT_EQ(children(tree, q), "");
}

TEST(DynamicRow, CopiesTakeTheirNodesAndStayIndependent)
{
    DynamicRow original;
    const unsigned int k = original.AddToId(0, true, "LOG");
    original.AddToId(k, false, "line");
    ASSERT_TRUE(original.LoadFromText("LOG { line }", 12));

    DynamicRow copy = original;
    original.AddToId(k, false, "later");
    original.DeleteById(original.TopId(k));
    EXPECT_EQ(describe(copy), "K[LOG](P[line])");
    EXPECT_TRUE(copy.IsLoaded());
    EXPECT_EQ(copy.NodeCount(), 2u);

    auto make = [] {
        DynamicRow t;
        t.AddToId(t.AddToId(0, true, "SCREEN"), false, "800");
        return t;
    };
    const DynamicRow returned = make();
    EXPECT_EQ(describe(returned), "K[SCREEN](P[800])");
    copy = returned;
    EXPECT_EQ(describe(copy), "K[SCREEN](P[800])");
    EXPECT_FALSE(copy.IsLoaded());
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
        EXPECT_FALSE(tree.IsLoaded()) << c.why;
    }
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
    };
    DynamicRow tree;
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

TEST(DynamicRow, LoadedOnlyAfterASuccessfulLoadThatReplacesTheContent)
{
    ScratchDir dir;
    writeFile(dir.File("POLYGON01"), "_CAMERAS_ { main_cam }\n");
    DynamicRow tree;
    tree.AddToId(0, true, "before");
    EXPECT_FALSE(tree.IsLoaded());
    ASSERT_TRUE(tree.iLoadFromFile(dir.File("POLYGON01").c_str()));
    EXPECT_TRUE(tree.IsLoaded());
    EXPECT_EQ(describe(tree), "K[_CAMERAS_](P[main_cam])");
    tree.AddToId(0, true, "after");
    EXPECT_TRUE(tree.IsLoaded());
    tree.fresh();
    EXPECT_FALSE(tree.IsLoaded());
    ASSERT_TRUE(tree.iLoadFromFile(Orvex_string(dir.File("POLYGON01").c_str())));
    EXPECT_FALSE(tree.iLoadFromFile(dir.File("missing").c_str()));
    EXPECT_FALSE(tree.IsLoaded());
    EXPECT_EQ(tree.NodeCount(), 0u);
}

TEST(DynamicRow, FilesThatAreNotTreesFailToLoad)
{
    ScratchDir dir;
    std::string garbage(4096, '\0');
    std::mt19937 random(7);
    for (char& c : garbage)
        c = static_cast<char>(random() % 255 + 1);
    garbage[100] = '{';
    writeFile(dir.File("garbage"), garbage);
    writeFile(dir.File("braces"), std::string(10u << 20, '{'));
    writeFile(dir.File("quote"), "k { \"never closed }\n");
    {
        std::ofstream big(dir.File("big"), std::ios::binary);
        big << "k";
    }
    fs::resize_file(dir.File("big"), DynamicRow::MAX_FILE_BYTES + 1);  // sparse: costs no disk
    fs::create_directory(dir.File("folder"));
    const std::string paths[] = {
        dir.File("garbage"), dir.File("braces"), dir.File("quote"), dir.File("big"),
        dir.File("folder"), dir.File("missing"), "/dev/zero", "", dir.path() + "/missing/deeper",
    };
    for (const std::string& path : paths) {
        DynamicRow tree;
        tree.AddToId(0, true, "old");
        EXPECT_FALSE(tree.iLoadFromFile(path.c_str())) << path;
        EXPECT_EQ(tree.NodeCount(), 0u) << path;
        EXPECT_FALSE(tree.IsLoaded()) << path;
    }
    DynamicRow tree;
    EXPECT_FALSE(tree.iLoadFromFile(static_cast<const char*>(nullptr)));
}

TEST(DynamicRow, SaveWritesTheFileThroughTheWindowsStylePath)
{
    ScratchDir dir;
    fs::create_directory(dir.File("Quillon2.0"));
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    DynamicRow tree;
    tree.AddToIdSeparated(tree.AddToId(0, true, "SCREEN"), "800, 600", ',');
    const bool saved = tree.iSaveToFile("Quillon2.0\\loaded_parameters");
    const bool savedAgain = tree.iSaveToFile(Orvex_string("quillon2.0\\loaded_parameters"));
    const bool savedMissing = tree.iSaveToFile("NoSuchFolder\\file");
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_TRUE(saved);
    EXPECT_TRUE(savedAgain);
    EXPECT_FALSE(savedMissing);
    EXPECT_EQ(readFile(dir.File("Quillon2.0/loaded_parameters")), "SCREEN { 800 600 }\n");
    EXPECT_EQ(countEntries(dir.File("Quillon2.0")), 1) << "no temporary file is left beside the saved one";
}

TEST(DynamicRow, SaveReplacesAnExistingFileKeepsItsPermissionsAndTakesLongNames)
{
    ScratchDir dir;
    const std::string path = dir.File("LOG.dr");
    writeFile(path, "old\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    DynamicRow tree;
    tree.AddToId(0, false, "new");
    ASSERT_TRUE(tree.iSaveToFile(path.c_str()));
    ASSERT_TRUE(tree.iSaveToFile(path.c_str()));
    EXPECT_EQ(readFile(path), "new\n");
    const std::string longest = dir.File(std::string(255, 'n'));  // the longest name a file may have
    EXPECT_TRUE(tree.iSaveToFile(longest.c_str()));
    EXPECT_EQ(readFile(longest), "new\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

// The write of the new file runs into the process's file size limit (RLIMIT_FSIZE, which
// binds root too) after 4 KiB: the save must fail and leave the old file as it was.
TEST(DynamicRow, SaveThatFailsHalfWayLeavesTheOldFileWhole)
{
    ScratchDir dir;
    const std::string path = dir.File("LOG.dr");
    const std::string old = "LOG { \"[0:0] old line\" }\n";
    writeFile(path, old);
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

TEST(DynamicRow, SaveOntoAFolderFailsAndLeavesTheFolder)
{
    ScratchDir dir;
    fs::create_directory(dir.File("target"));
    writeFile(dir.File("target/inside"), "x");
    DynamicRow tree;
    tree.AddToId(0, false, "v");
    EXPECT_FALSE(tree.iSaveToFile(dir.File("target").c_str()));
    EXPECT_EQ(readFile(dir.File("target/inside")), "x");
    EXPECT_EQ(countEntries(dir.path()), 1);
    EXPECT_FALSE(tree.iSaveToFile(""));
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
