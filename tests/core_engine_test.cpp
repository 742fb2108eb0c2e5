// The engine object's render settings, the render manager and the frame, on the headless device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ini_reader.h"
#include "core/orvex.h"
#include "core_test_support.h"
#include "headless_win32.h"

namespace {

const char kRootName[] =
    "\xEF\xE0\xF0\xE0\xEC\xE5\xF2\xF0\xFB\x20\xE8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xE8";

DynamicRow SettingsTree(const char* content)
{
    DynamicRow tree;
    tree.fresh();
    unsigned int root = tree.AddToId(0, true, kRootName);
    std::string text = content;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        Orvex_string line(text.substr(start, end - start).c_str());
        Orvex_string name;
        Orvex_string params;
        if (line.getCommandBlock(name, params))
            tree.AddToIdSeparated(tree.AddToId(root, true, name), params, ',');
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return tree;
}

TEST(RenderSettingsTest, KeysWithTheExpectedValuesOverrideTheDefaults)
{
    struct Case {
        const char* content;
        D3DCOLOR color;
        WORD multisample;
        WORD fill;
        bool antialias;
    } cases[] = {
        {"", 0xFF6482AA, 0, 3, false},
        {"BACK_RENDERER_COLOR = 255, 0, 0", 0x01FF0000, 0, 3, false},
        {"BACK_RENDERER_COLOR = 255, 0", 0xFF6482AA, 0, 3, false},
        {"BACK_RENDERER_COLOR = 1, 2, 3, 4", 0xFF6482AA, 0, 3, false},
        {"BACK_RENDERER_COLOR = 300, -1, 256", 0x012CFF00, 0, 3, false},
        {"FILLMODE = 4", 0xFF6482AA, 0, 3, false},
        {"FILLMODE = 0", 0xFF6482AA, 0, 3, false},
        {"FILLMODE = 1", 0xFF6482AA, 0, 1, false},
        {"FILLMODE = 2, 2", 0xFF6482AA, 0, 3, false},
        {"MULTISAMPLEANTIALIAS = 2", 0xFF6482AA, 0, 3, false},
        {"MULTISAMPLEANTIALIAS = 1", 0xFF6482AA, 0, 3, true},
        {"MULTISAMPLE_TYPE = 4", 0xFF6482AA, 4, 3, false},
        {"MULTISAMPLE_TYPE = 70000", 0xFF6482AA, 70000 & 0xFFFF, 3, false},
        {"MULTISAMPLE_TYPE = 2, 4", 0xFF6482AA, 0, 3, false},
    };
    for (const Case& c : cases) {
        DynamicRow tree = SettingsTree(c.content);
        Orvex engineUnderTest{};
        engineUnderTest.ReadRenderSettings(&tree);
        EXPECT_EQ(engineUnderTest.backRendererColor, c.color) << c.content;
        EXPECT_EQ(engineUnderTest.multisampleType, c.multisample) << c.content;
        EXPECT_EQ(engineUnderTest.fillMode, c.fill) << c.content;
        EXPECT_EQ(engineUnderTest.multisampleAntialias, c.antialias) << c.content;
    }

    Orvex withoutTree{};
    withoutTree.fillMode = 1;
    withoutTree.ReadRenderSettings(nullptr);
    EXPECT_EQ(withoutTree.fillMode, 3);
    EXPECT_EQ(withoutTree.backRendererColor, 0xFF6482AAu);
}


}  // namespace
