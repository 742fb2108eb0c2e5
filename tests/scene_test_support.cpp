#include "scene_test_support.h"

#include <gtest/gtest.h>

#include <ostream>

#include "call_log.h"
#include "device_test_support.h"
#include "headless_d3d9.h"
#include "headless_win32.h"

namespace scene_test {

void SceneTest::SetUp() {
    ResetPlatform();
    device = CreateDevice();
    ASSERT_NE(device, nullptr);
    console = new Console(&device);
}

void SceneTest::TearDown() {
    delete console;
    if (device) {
        EXPECT_EQ(device->Release(), 0u) << "a resource of the device was never released";
    }
}

DynamicRow Tree(const std::string& text) {
    DynamicRow tree;
    tree.fresh();
    EXPECT_TRUE(tree.LoadFromText(text.data(), text.size())) << text;
    return tree;
}

std::vector<Message> Messages(Console& console) {
    std::vector<Message> messages;
    unsigned line = console.log.TopId(console.logKnot);
    if (line >= 1) line = console.log.NextId(line);   // the start-up line
    for (; line >= 1; line = console.log.NextId(line)) {
        std::string text = console.log.iLookName(line).getChars();
        size_t stamp = text.find("] ");
        if (stamp != std::string::npos) text.erase(0, stamp + 2);
        unsigned category = console.log.TopId(line);
        messages.push_back(
            {text, category >= 1 ? console.log.iLookName(category).getChars() : std::string()});
    }
    return messages;
}

std::vector<std::string> Texts(Console& console, const char* category) {
    std::vector<std::string> texts;
    for (const Message& m : Messages(console))
        if (m.category == category) texts.push_back(m.text);
    return texts;
}

void ResetPlatform() {
    orvex_headless::reset_win32();
    orvex_headless::reset_d3d9();
    orvex_headless::set_time(100000);
    orvex_headless::clear_call_log();
}

void AdvanceClock(DWORD milliseconds) { orvex_headless::advance_time(milliseconds); }

void SetKey(int virtualKey, bool down) { orvex_headless::set_key_state(virtualKey, down); }

void SetCursor(int x, int y) { orvex_headless::set_cursor_pos(x, y); }

IDirect3DDevice9* CreateDevice() {
    HWND window = orvex_test::CreateTestWindow("scene_test");
    EXPECT_NE(window, nullptr);
    IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    EXPECT_NE(direct3D, nullptr);
    if (!direct3D) return nullptr;
    D3DPRESENT_PARAMETERS parameters = orvex_test::WindowedParameters();
    IDirect3DDevice9* device = nullptr;
    EXPECT_TRUE(SUCCEEDED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters,
                                                 &device)));
    direct3D->Release();
    return device;
}

std::vector<std::string> CallLog() { return orvex_headless::call_log(); }

void ClearCallLog() { orvex_headless::clear_call_log(); }

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
    std::vector<std::string> calls;
    for (const std::string& line : orvex_headless::call_log())
        if (line.compare(0, prefix.size(), prefix) == 0) calls.push_back(line);
    return calls;
}

}  // namespace scene_test

std::ostream& operator<<(std::ostream& out, const scene_test::Message& message) {
    return out << "{\"" << message.text << "\", " << message.category << "}";
}
