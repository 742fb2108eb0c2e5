// The engine object's render settings, the render manager and the frame, on the headless device.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/ini_reader.h"
#include "console/console.h"
#include "core/orvex.h"
#include "core/render_manager.h"
#include "headless_d3d9.h"
#include "headless_d3dx_font.h"
#include "call_log.h"
#include "scene/cameras/camera.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_manager.h"
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

namespace {

// A 2 x 2 24-bit BMP, enough for the default textures.
std::string TinyBmp()
{
    const unsigned char bytes[] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0,
        0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // info header
        255, 255, 255, 255, 255, 255, 0, 0,  // two pixels and padding, twice
        255, 255, 255, 255, 255, 255, 0, 0,
    };
    return std::string((const char*)bytes, sizeof bytes);
}

// Never destroyed, so what it holds stays reachable through the leak check at exit.
std::vector<void*>& KeptToTheEnd()
{
    static std::vector<void*>* kept = new std::vector<void*>;
    return *kept;
}

const char* const kDefaultTextureFiles[] = {"white.bmp", "red.bmp", "Blue.bmp", "yellow.bmp"};

// A headless window, device, console and managers, in a scratch folder of the test's making.
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        orvex_headless::reset_win32();
        orvex_headless::reset_d3d9();
        orvex_headless::set_font_creation_failure(nullptr);
        folder = orvex_test::MakeScratchFolder("render");
        orvex_test::EnterFolder(folder);

        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "RenderTest";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "RenderTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, NULL,
                                 NULL, NULL, NULL);
        direct3D = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(direct3D, nullptr);
        D3DPRESENT_PARAMETERS params = {};
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.Windowed = TRUE;
        params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D24S8;
        KeptToTheEnd().push_back(direct3D);
        ASSERT_EQ(direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                         D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device),
                  D3D_OK);
        KeptToTheEnd().push_back(device);
    }
    void TearDown() override
    {
        orvex_headless::set_font_creation_failure(nullptr);
        orvex_test::LeaveFolder();
    }

    void PutDefaultFiles()
    {
        orvex_test::MakeFolder("textures/_def");
        for (const char* file : kDefaultTextureFiles)
            orvex_test::WriteFile(std::string("textures/_def/") + file, TinyBmp());
        orvex_test::CopyFromData(".", "fx/vor_Phong.fx");
    }

    // The console and every manager on this device, the render manager initialised.
    void MakeManagers(const std::string& level)
    {
        orvex_test::WriteFile("POLYGON01", level);
        console = new Console(&device);
        cameraManager = new Orvex_Camera_Manager(console);
        effectManager = new Orvex_Effect_Manager(device, console, cameraManager);
        lightManager = new Orvex_Light_Manager(console);
        objectManager = new Orvex_Object_Manager(&baseWorld, &device, console, effectManager,
                                                 lightManager);
        renderManager = new Orvex_Render_Manager(device, cameraManager, objectManager, console,
                                                 lightManager);
        renderManager->Initialize();
        renderManager->backRendererColor = 0xFF6482AA;
        // The engine keeps its managers to the process end and so do these tests.
        for (void* kept : {(void*)console, (void*)cameraManager, (void*)effectManager,
                           (void*)lightManager, (void*)objectManager, (void*)renderManager})
            KeptToTheEnd().push_back(kept);
        lightManager->LoadLevel("POLYGON01");
        objectManager->LoadLevel("POLYGON01");
        cameraManager->LoadLevel("POLYGON01");
        effectManager->LoadLevel("POLYGON01");
    }

    std::vector<std::string> LogTexts() const
    {
        std::vector<std::string> lines;
        for (unsigned int id = console->log.TopId(console->logKnot); id;
             id = console->log.NextId(id)) {
            std::string line = console->log.iLookName(id).getChars();
            lines.push_back(line.substr(line.find("] ") + 2));
        }
        return lines;
    }

    std::vector<std::string> FrameCalls(float fps)
    {
        orvex_headless::clear_call_log();
        renderManager->DrawFrame(fps);
        return orvex_headless::call_log();
    }

    std::string folder;
    HWND window = NULL;
    IDirect3D9* direct3D = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DXMATRIX baseWorld;
    Console* console = nullptr;
    Orvex_Camera_Manager* cameraManager = nullptr;
    Orvex_Effect_Manager* effectManager = nullptr;
    Orvex_Light_Manager* lightManager = nullptr;
    Orvex_Object_Manager* objectManager = nullptr;
    Orvex_Render_Manager* renderManager = nullptr;
};

const char kOneCamera[] =
    "_CAMERAS_ { main_cam }\nmain_cam { _POSITION_ { -0.7 12.9 -50.2 } _LOOK_ { 0 1.5 -3.99 } }\n";

std::string Overlay(const std::string& text, int x, int y)
{
    return "DrawTextA(\"" + text + "\", {" + std::to_string(x) + "," + std::to_string(y) +
           ",0,0}, DT_NOCLIP, 0xFFFFFFFF)";
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string FontLine(int height, int weight, const char* face)
{
    return "D3DXCreateFontA(" + std::to_string(height) + ", 0, " + std::to_string(weight) +
           ", 0, 0, 1, 0, 0, 0, \"" + face + "\")";
}

TEST_F(RenderTest, FontHeightsFollowTheScreenDpi)
{
    struct Case {
        int dpi;
        int small, large;
    } cases[] = {{96, -11, -21}, {120, -13, -27}, {144, -16, -32}};
    for (const Case& c : cases) {
        orvex_headless::set_dpi(c.dpi);
        Console log(&device);
        Orvex_Render_Manager manager(device, nullptr, nullptr, &log, nullptr);
        orvex_headless::clear_call_log();
        manager.CreateFonts();
        EXPECT_EQ(orvex_headless::call_log(),
                  (std::vector<std::string>{FontLine(c.small, 700, "Verdana"),
                                            FontLine(c.large, 700, "Verdana"),
                                            FontLine(14, 400, "Kartika")}))
            << c.dpi << " dpi";
        for (ID3DXFont* font : {manager.Font8Verdana, manager.Font16Verdana, manager.Font6Kartika})
            if (font)
                font->Release();
    }
}

// "Текушая камера : ", "Число объектов : ", "Камера в : Position " in code page 1251.
const std::string kCamera = "\xD2\xE5\xEA\xF3\xF8\xE0\xFF \xEA\xE0\xEC\xE5\xF0\xE0 : ";
const std::string kObjects = "\xD7\xE8\xF1\xEB\xEE \xEE\xE1\xFA\xE5\xEA\xF2\xEE\xE2 : ";
const std::string kPosition = "\xCA\xE0\xEC\xE5\xF0\xE0 \xE2 : Position ";

// The frame's calls with the camera's transforms folded into one "<Apply>" entry.
std::vector<std::string> FoldApply(const std::vector<std::string>& calls)
{
    std::vector<std::string> folded;
    for (const std::string& call : calls) {
        bool transform = call.rfind("SetTransform(", 0) == 0;
        if (transform && !folded.empty() && folded.back() == "<Apply>")
            continue;
        folded.push_back(transform ? "<Apply>" : call);
    }
    return folded;
}

TEST_F(RenderTest, FailedBeginScenePresentsWithoutDrawing)
{
    PutDefaultFiles();
    MakeManagers(kOneCamera);
    device->BeginScene();  // a scene left open makes the frame's BeginScene fail
    std::vector<std::string> calls = FrameCalls(0);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "Clear(0, NULL, TARGET|ZBUFFER, 0xFF6482AA, 1, 0)");
    EXPECT_EQ(calls[1].rfind("BeginScene() -> ", 0), 0u) << calls[1];
    EXPECT_EQ(calls[2], "Present(NULL, NULL, NULL, NULL)");
}

TEST_F(RenderTest, LevelWithoutCameraDrawsWithoutCameraLinesOrTransforms)
{
    PutDefaultFiles();
    MakeManagers("_CAMERAS_ { }\n");
    ASSERT_EQ(cameraManager->activeCamera, nullptr);
    EXPECT_EQ(FoldApply(FrameCalls(3)),
              (std::vector<std::string>{
                  "Clear(0, NULL, TARGET|ZBUFFER, 0xFF6482AA, 1, 0)",
                  "BeginScene()",
                  "SetRenderState(FILLMODE, 3)",
                  Overlay(kObjects + "0", 5, 15),
                  Overlay("3 fps", 5, 45),
                  "EndScene()",
                  "Present(NULL, NULL, NULL, NULL)",
              }));
    console->visible = true;
    std::vector<std::string> shown = FoldApply(FrameCalls(3));
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "<Apply>"), 0);
    EXPECT_EQ(shown.back(), "Present(NULL, NULL, NULL, NULL)");
}

TEST_F(RenderTest, CoordinatesBeyondTheIntRangeAreHeldToIt)
{
    PutDefaultFiles();
    MakeManagers("_CAMERAS_ { far }\nfar { _POSITION_ { 1e30 -1e30 0 } _LOOK_ { 0 0 1 } }\n");
    std::vector<std::string> calls = FrameCalls(0);
    EXPECT_TRUE(Contains(calls, Overlay(kPosition + "2147483647 -2147483648 0  Rotation 0 0 1", 5, 25)));
}

}  // namespace
