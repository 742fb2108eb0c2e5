#include "foundation/file_io.h"
#include "foundation/file_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

// Runs each test inside a fresh folder holding a small Windows-style data tree:
//   Quillon2.0/  textures/_def/Blue.bmp  fx/vor_Phong.fx  ABC  abc  Mixed/zone.x
class ResolvePath : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(HasFailure()) << "no scratch folder";
        fs::create_directories(root_ + "/Quillon2.0");
        fs::create_directories(root_ + "/textures/_def");
        fs::create_directories(root_ + "/fx");
        fs::create_directories(root_ + "/Mixed");
        for (const char* file : {"textures/_def/Blue.bmp", "fx/vor_Phong.fx", "abc", "ABC", "Mixed/zone.x"})
            std::ofstream(root_ + "/" + file) << "x";
        previous_ = fs::current_path();
        fs::current_path(root_);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
    }

    orvex_test::ScratchDir dir_{"orvex-path"};
    const std::string root_ = dir_.path();
    fs::path previous_;
};

TEST_F(ResolvePath, BackslashesBecomeSlashesAndExistingPathsStayAsWritten)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"textures\\_def\\Blue.bmp", "textures/_def/Blue.bmp"},
        {"fx\\vor_Phong.fx", "fx/vor_Phong.fx"},
        {"fx/vor_Phong.fx", "fx/vor_Phong.fx"},
        {".\\fx\\vor_Phong.fx", "./fx/vor_Phong.fx"},
        {"Mixed\\", "Mixed/"},
        {"abc", "abc"},
        {"ABC", "ABC"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolve_path(c.in), c.out) << c.in;
}

TEST_F(ResolvePath, EachComponentIsMatchedIgnoringCase)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"TEXTURES\\_DEF\\blue.BMP", "textures/_def/Blue.bmp"},
        {"Fx\\VOR_PHONG.FX", "fx/vor_Phong.fx"},
        {"mixed\\..\\FX\\vor_phong.fx", "Mixed/../fx/vor_Phong.fx"},
        {"Abc", "ABC"},  // two entries match: the first in byte order
        {"quillon2.0", "Quillon2.0"},
        {"MIXED\\ZONE.X", "Mixed/zone.x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolve_path(c.in), c.out) << c.in;
    EXPECT_EQ(resolve_path((root_ + "/FX/Vor_Phong.fx").c_str()), root_ + "/fx/vor_Phong.fx");
}

TEST_F(ResolvePath, AMissingFileIsPlacedInTheFolderThatExists)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"Quillon2.0\\loaded_parameters", "Quillon2.0/loaded_parameters"},
        {"QUILLON2.0\\loaded_parameters", "Quillon2.0/loaded_parameters"},
        {"textures\\MISSING\\Blue.bmp", "textures/MISSING/Blue.bmp"},
        {"nowhere\\at\\all", "nowhere/at/all"},
        {"fx\\vor_Phong.fx\\under_a_file", "fx/vor_Phong.fx/under_a_file"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolve_path(c.in), c.out) << c.in;

    std::ofstream(resolve_path("QUILLON2.0\\loaded_parameters")) << "saved";
    EXPECT_TRUE(fs::exists(root_ + "/Quillon2.0/loaded_parameters"));
}

TEST_F(ResolvePath, NullAndEmptyPathsGiveEmptyText)
{
    EXPECT_EQ(resolve_path(nullptr), "");
    EXPECT_EQ(resolve_path(""), "");
}

}  // namespace

TEST_F(ResolvePath, AWholeFileIsReadUpToItsLimitAndAFailedReadLeavesNothing)
{
    std::ofstream("four") << "1234";
    struct Case {
        const char* path;
        std::size_t limit;
        bool read;
        const char* text;
    } cases[] = {
        {"FOUR", 4, true, "1234"},  {"four", 3, false, ""},       {"missing", 9, false, ""},
        {"Mixed", 9, false, ""},    {"", 9, false, ""},           {"/dev/zero", 9, false, ""},
        // Its size says 0, yet it reads on past the limit after a first whole chunk, like a
        // file that grows while it is read.
        {"/proc/self/pagemap", 100000, false, ""}, {"jour", 9, false, ""},
    };
    for (const Case& c : cases) {
        std::string out = "left from before";
        EXPECT_EQ(read_whole_file(c.path, c.limit, out), c.read) << c.path;
        EXPECT_EQ(out, c.text) << c.path;
    }
}
