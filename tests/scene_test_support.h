#pragma once
// Shared by the camera, light and effect-manager tests: level files in a scratch folder, the
// console's log as (text, category) pairs, and the headless device's call log.
#include <windows.h>
#include <d3d9.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"
#include "foundation/dynamic_row.h"
#include "scratch_dir.h"

namespace scene_test {

using orvex_test::ScratchDir;

// A fixture with a fresh headless platform, a device, the console and a scratch folder.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes a level file with text and returns its path.
    std::string Level(const std::string& text) { return dir.Write("LEVEL", text); }

    ScratchDir dir;
    IDirect3DDevice9* device = nullptr;
    Console* console = nullptr;
};

// A tree parsed from level-file text; fails the test when the text does not parse.
DynamicRow Tree(const std::string& text);

struct Message {
    std::string text;       // the line without its time stamp
    std::string category;   // "_TEXT_", "_ERROR_", "_COMMENT_", "_SYSTEM_"
    bool operator==(const Message& other) const {
        return text == other.text && category == other.category;
    }
};
// Every message the console logged after its start-up line, oldest first.
std::vector<Message> Messages(Console& console);
// The texts of the messages of one category.
std::vector<std::string> Texts(Console& console, const char* category);

// The headless platform, reset for each test: clock at 100000 ms, no key down, cursor at the
// origin, an empty call log.
void ResetPlatform();
void AdvanceClock(DWORD milliseconds);
void SetKey(int virtualKey, bool down);
void SetCursor(int x, int y);

// A headless device (and the window it needs) for drawing tests.
IDirect3DDevice9* CreateDevice();

std::vector<std::string> CallLog();
void ClearCallLog();
// The calls of the log that start with prefix.
std::vector<std::string> CallsStartingWith(const std::string& prefix);

}  // namespace scene_test

std::ostream& operator<<(std::ostream& out, const scene_test::Message& message);
