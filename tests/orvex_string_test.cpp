#include "foundation/orvex_string.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstring>
#include <string>

namespace {

std::string repeat(char c, std::size_t n) { return std::string(n, c); }

// An Orvex_string with guard bytes on both sides, to see writes past either end.
struct Guarded {
    unsigned char before[64];
    Orvex_string text;
    unsigned char after[64];
    Guarded()
    {
        std::memset(before, 0xA5, sizeof before);
        std::memset(after, 0xA5, sizeof after);
    }
    bool intact() const
    {
        for (std::size_t i = 0; i < sizeof before; ++i) {
            if (before[i] != 0xA5 || after[i] != 0xA5)
                return false;
        }
        return true;
    }
};

TEST(OrvexString, LongTextIsCutAt1023CharactersAndNothingIsWrittenPastTheEnd)
{
    const std::string big = repeat('x', 5000);
    Guarded g;
    g.text = big.c_str();
    EXPECT_EQ(g.text.length(), 1023u);
    EXPECT_TRUE(g.intact());

    Guarded h;
    EXPECT_FALSE(h.text.add(big.c_str()));
    EXPECT_EQ(std::string(h.text.getChars()), repeat('x', 1023));
    EXPECT_FALSE(h.text.add("y"));
    h.text += 123456;
    h.text += 1.5f;
    h.text += g.text;
    EXPECT_EQ(h.text.length(), 1023u);
    EXPECT_TRUE(h.intact());

    Orvex_string fromCtor(big.c_str());
    EXPECT_EQ(fromCtor.length(), 1023u);
}

TEST(OrvexString, AddAnswersFalseOnlyWhenItHadToCut)
{
    Orvex_string s = repeat('a', 1000).c_str();
    EXPECT_TRUE(s.add(repeat('b', 23).c_str()));  // exactly full
    EXPECT_EQ(s.length(), 1023u);
    EXPECT_TRUE(s.add(""));
    EXPECT_FALSE(s.add("c"));
    EXPECT_EQ(s.getChars()[1022], 'b');

    Orvex_string t = "ab";
    EXPECT_TRUE(t.add(t));  // appending itself reads the old text
    EXPECT_EQ(t, "abab");
    Orvex_string u = repeat('u', 600).c_str();
    EXPECT_FALSE(u.add(u));
    EXPECT_EQ(std::string(u.getChars()), repeat('u', 1023));
}

TEST(OrvexString, FloatsBecomeTheirShortestRoundTripText)
{
    struct Case { float value; const char* text; };
    const Case cases[] = {
        {0.5f, "0.5"}, {2.0f, "2"}, {-12.25f, "-12.25"}, {1e20f, "1e+20"},
        {0.1f, "0.1"}, {0.0f, "0"}, {100.0f, "100"}, {0.85f, "0.85"},
    };
    for (const Case& c : cases) {
        Orvex_string s;
        s += c.value;
        EXPECT_EQ(s, c.text) << c.value;
    }
    Orvex_string n = "n=";
    n += INT_MIN;
    EXPECT_EQ(n, "n=-2147483648");
    n = 4294967295u;
    EXPECT_EQ(n, "4294967295");
}

TEST(OrvexString, ToIntReadsTheLeadingDecimalNumberAndClamps)
{
    struct Case { const char* text; int value; };
    const Case cases[] = {
        {"", 0},           {"abc", 0},       {"-", 0},           {"+", 0},
        {"  42", 42},      {"\t-7x", -7},    {"+3", 3},          {"12.9", 12},
        {" 1 2", 1},       {"007", 7},       {"- 5", 0},         {"0x1F", 0},
        {"2147483647", INT_MAX},             {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},            {"-2147483649", INT_MIN},
        {"-2147483647", -INT_MAX},
        {"99999999999999999999999999", INT_MAX}, {"-99999999999999999999999999", INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Orvex_string(c.text).toInt(), c.value) << '"' << c.text << '"';
}

TEST(OrvexString, ToFloatReadsTheLeadingDecimalNumber)
{
    struct Case { const char* text; float value; };
    const Case cases[] = {
        {"0.5", 0.5f},      {" -12.25", -12.25f}, {"1e+20", 1e20f},    {".5", 0.5f},
        {"7.", 7.0f},       {"1.5e3", 1500.0f},   {"-.25E-1", -0.025f}, {"\t+2", 2.0f},
        {"1e", 1.0f},       {"1e+", 1.0f},        {"3,5", 3.0f},       {"2.5abc", 2.5f},
        {"", 0.0f},         {"abc", 0.0f},        {"-", 0.0f},         {".", 0.0f},
        {"e5", 0.0f},       {"inf", 0.0f},        {"nan", 0.0f},       {"0x10", 0.0f},
        {"1e40", FLT_MAX},  {"-1e40", -FLT_MAX},  {"1e-50", 0.0f},     {"1e99999999999", FLT_MAX},
        {"0.0000000000000000000000000000000000000000000000000001", 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Orvex_string(c.text).toFloat(), c.value) << '"' << c.text << '"';
    // Out of range, the zeros after the point and a three-digit exponent together say which
    // way: 1e-47 is 0, 1e39 is the largest float.
    const std::string zeros = "0." + std::string(296, '0');
    EXPECT_EQ(Orvex_string((zeros + "1e250").c_str()).toFloat(), 0.0f);
    EXPECT_EQ(Orvex_string((zeros + "1e336").c_str()).toFloat(), FLT_MAX);
}

TEST(OrvexString, DivideTwoParametersSplitsAtTheFirstBlank)
{
    struct Case { const char* line; const char* first; const char* rest; bool answer; };
    const Case cases[] = {
        {"cam_mngr camera.next", "cam_mngr", "camera.next", true},
        {"  obj_mngr   object.visible 1 0  ", "obj_mngr", "object.visible 1 0", true},
        {"\tconsole\thello world\t", "console", "hello world", true},
        {"word", "word", "", true},
        {"  word  ", "word", "", true},
        {"", "", "", false},
        {" \t ", "", "", false},
    };
    for (const Case& c : cases) {
        Orvex_string first = "old", rest = "old";
        EXPECT_EQ(Orvex_string(c.line).DivideTwoParameters(first, rest), c.answer) << c.line;
        EXPECT_EQ(first, c.first) << c.line;
        EXPECT_EQ(rest, c.rest) << c.line;
    }
}

}  // namespace
