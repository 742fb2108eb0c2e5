// The default level drawn by the real engine on the native platform, in a window of an Xvfb of
// its own, read back from the device: lit and unlit sides of the sphere, a light's colour, a
// texture, an object hidden with "object.visible" leaving the picture, an untextured material's
// colour, every light's ambient share, and the light markers of the open console.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "core/ini_reader.h"
#include "core/orvex.h"
#include "core/render_manager.h"
#include "core/win_main.h"
#include "native/gl_device.h"
#include "console/console.h"
#include "console/log_view.h"
#include "native/win32_window.h"
#include "scene/cameras/camera_manager.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_manager.h"
#include "scene/objects/static_cobject.h"
#include "device_test_support.h"
#include "xvfb_server.h"

namespace {

struct Frame {
    std::vector<unsigned char> rgba;
    UINT width = 0, height = 0;
    const unsigned char* At(int x, int y) const { return &rgba[((size_t)y * width + x) * 4]; }
    int Luminance(int x, int y) const
    {
        const unsigned char* p = At(x, y);
        return (299 * p[0] + 587 * p[1] + 114 * p[2]) / 1000;
    }
};

class DefaultLevelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        xvfb = new Xvfb_Server();
        ASSERT_FALSE(xvfb->display().empty()) << "Xvfb did not start";
        setenv("DISPLAY", xvfb->display().c_str(), 1);

        namespace fs = std::filesystem;
        const fs::path folder = fs::temp_directory_path() / ("orvex_objects_native_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::copy(fs::path(ORVEX_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
        ASSERT_EQ(chdir(folder.c_str()), 0);

        DynamicRow settings = LoadSettings("ini.txt");
        HWND window = orvex_test::CreateTestWindow("Orvex", 800, 600);
        ASSERT_NE(window, nullptr);
        engine.ReadRenderSettings(&settings);
        ASSERT_EQ(engine.InitDevice(window), 0);
        engine.Initialize();
        ShowWindow(window, SW_SHOW);
    }

    static void TearDownTestSuite()
    {
        delete xvfb;
        xvfb = nullptr;
    }

    // Draws a few frames (the objects of a frame use the camera of the frame before) and reads
    // the last one back.
    static Frame Draw()
    {
        for (int i = 0; i < 3; ++i) engine.renderManager->DrawFrame(60.0f);
        Frame frame;
        GL_Device* gl = GL_Device::Of(engine.device);
        EXPECT_NE(gl, nullptr);
        if (gl) {
            EXPECT_TRUE(gl->ReadPresentedFrame(&frame.rgba, &frame.width, &frame.height));
        }
        Save(frame, "frame.ppm");
        return frame;
    }

    // The picture as a binary PPM in the test's folder, to look at when a check fails.
    static void Save(const Frame& frame, const char* name)
    {
        FILE* out = fopen(name, "wb");
        if (!out) return;
        fprintf(out, "P6\n%u %u\n255\n", frame.width, frame.height);
        for (size_t i = 0; i + 3 < frame.rgba.size(); i += 4) fwrite(&frame.rgba[i], 1, 3, out);
        fclose(out);
    }

    // Where a world point lands in the frame, through the active camera.
    static POINT Project(const Frame& frame, D3DXVECTOR3 world)
    {
        const Orvex_Camera* camera = engine.cameraManager->activeCamera->camera;
        D3DXMATRIX viewProjection;
        D3DXMatrixMultiply(&viewProjection, &camera->viewMatrix, &camera->projectionMatrix);
        D3DXVECTOR3 ndc;
        D3DXVec3TransformCoord(&ndc, &world, &viewProjection);
        POINT p = {(LONG)std::lround((ndc.x + 1) * 0.5f * frame.width),
                   (LONG)std::lround((1 - ndc.y) * 0.5f * frame.height)};
        return p;
    }
    // A point on the sphere (centre (0, 20, 0), radius 20) where the surface faces direction.
    static POINT OnSphere(const Frame& frame, D3DXVECTOR3 direction)
    {
        D3DXVec3Normalize(&direction, &direction);
        return Project(frame, D3DXVECTOR3(0, 20, 0) + direction * 19.0f);
    }

    static Xvfb_Server* xvfb;
};

Xvfb_Server* DefaultLevelTest::xvfb = nullptr;

// Towards the warm key light and the camera, and towards the floor in front: a side no light
// reaches.
const D3DXVECTOR3 kLitSide(-0.51f, 0.64f, -0.57f);
const D3DXVECTOR3 kUnlitSide(0.0f, -0.7f, -0.71f);
// Halfway between the blue light and the camera.
const D3DXVECTOR3 kBlueSide(0.53f, 0.54f, -0.66f);

TEST_F(DefaultLevelTest, SphereIsBrighterOnItsLitSideAndBluerTowardsTheBlueLight)
{
    Frame frame = Draw();
    ASSERT_GT(frame.width, 100u);
    POINT lit = OnSphere(frame, kLitSide), unlit = OnSphere(frame, kUnlitSide);
    EXPECT_GT(frame.Luminance(lit.x, lit.y), frame.Luminance(unlit.x, unlit.y) + 60)
        << "lit " << frame.Luminance(lit.x, lit.y) << " unlit " << frame.Luminance(unlit.x, unlit.y);

    POINT blue = OnSphere(frame, kBlueSide);
    const unsigned char* p = frame.At(blue.x, blue.y);
    EXPECT_GT(p[2], p[0] + 30) << "r " << (int)p[0] << " b " << (int)p[2];
}

TEST_F(DefaultLevelTest, TheBoxWithoutEffectShowsItsCheckerTexture)
{
    Frame frame = Draw();
    ASSERT_GT(frame.width, 100u);
    // Across the front face of the plain box (edge 40, centred at (70, 20, -110)).
    POINT left = Project(frame, D3DXVECTOR3(55, 20, -130)), right = Project(frame, D3DXVECTOR3(85, 20, -130));
    int bright = 0, dark = 0;
    for (LONG y = left.y - 8; y <= left.y + 8; ++y)
        for (LONG x = left.x; x <= right.x; ++x) {
            int l = frame.Luminance(x, y);
            bright += l > 190;
            dark += l < 70;
        }
    EXPECT_GT(bright, 20);
    EXPECT_GT(dark, 20);
}

TEST_F(DefaultLevelTest, HidingTheSphereRemovesItsPixelsAndNothingElse)
{
    Frame before = Draw();
    Orvex_string command;
    command = "object.visible 2 0";
    engine.objectManager->ExecuteCommand(command);
    Frame hidden = Draw();
    command = "object.visible 2 1";
    engine.objectManager->ExecuteCommand(command);
    Frame shown = Draw();
    ASSERT_GT(before.width, 100u);
    ASSERT_EQ(hidden.rgba.size(), before.rgba.size());

    POINT centre = OnSphere(before, D3DXVECTOR3(0, 0, -1));
    int changed = 0;
    for (int dy = -8; dy <= 8; ++dy)
        for (int dx = -8; dx <= 8; ++dx)
            changed += std::abs(before.Luminance(centre.x + dx, centre.y + dy) -
                                hidden.Luminance(centre.x + dx, centre.y + dy)) > 20;
    EXPECT_GT(changed, 17 * 17 * 3 / 4) << "the sphere's face is gone";
    POINT box = Project(before, D3DXVECTOR3(70, 20, -130));
    EXPECT_EQ(memcmp(before.At(box.x, box.y), hidden.At(box.x, box.y), 3), 0) << "the box stays";
    EXPECT_EQ(shown.rgba, before.rgba) << "shown again, the frame is as it was";
}


// The crate (object 4) stands turned at (90, 20, 30) with edge 40.
Static_CObject* Crate()
{
    ObjectEntry* entry = engine.objectManager->objectList;
    for (int id = 1; id < 4 && entry; ++id) entry = entry->next;
    return entry ? static_cast<Static_CObject*>(entry->object) : nullptr;
}

TEST_F(DefaultLevelTest, AnUntexturedSubsetShowsItsMaterialColourThroughTheEffect)
{
    Static_CObject* crate = Crate();
    ASSERT_TRUE(crate && crate->materialCount == 1);
    IDirect3DTexture9* texture = crate->textures[0];
    const D3DCOLORVALUE diffuse = crate->materials[0].Diffuse;
    crate->textures[0] = nullptr;
    crate->materials[0].Diffuse = D3DCOLORVALUE{0.2f, 1.0f, 0.2f, 1.0f};
    Frame green = Draw();
    crate->materials[0].Diffuse = diffuse;
    Frame plain = Draw();
    crate->textures[0] = texture;
    ASSERT_GT(green.width, 100u);

    POINT top = Project(green, D3DXVECTOR3(90, 40, 30));
    const unsigned char* g = green.At(top.x, top.y);
    const unsigned char* p = plain.At(top.x, top.y);
    EXPECT_GT(g[1], g[0] + 40) << "green " << (int)g[0] << " " << (int)g[1] << " " << (int)g[2];
    EXPECT_GT(g[1], g[2] + 40);
    for (int c = 0; c < 3; ++c) EXPECT_GT(p[c], 60) << "white material, channel " << c;
}

TEST_F(DefaultLevelTest, AmbientIsTheSameWhicheverLightCarriesIt)
{
    Frame before = Draw();
    LightEntry* first = engine.lightManager->lightList;
    ASSERT_TRUE(first && first->next);
    std::swap(first->light->ambient, first->next->light->ambient);
    Frame swapped = Draw();
    std::swap(first->light->ambient, first->next->light->ambient);
    ASSERT_GT(before.width, 100u);

    POINT unlit = OnSphere(before, kUnlitSide);
    int worst = 0;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx)
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(before.At(unlit.x + dx, unlit.y + dy)[c] -
                                                 swapped.At(unlit.x + dx, unlit.y + dy)[c]));
    EXPECT_LE(worst, 2) << "the unlit side of the sphere lives on ambient alone";
}

TEST_F(DefaultLevelTest, LightMarkersStandAtTheLightsWithOnlyOneCameraInTheLevel)
{
    // One camera, every object hidden but the last (a column whose world matrix moves it by
    // (150, 0, -30)), the console open with its log panel dragged down out of the sky.
    CameraEntry* active = engine.cameraManager->activeCamera;
    ASSERT_EQ(active, engine.cameraManager->cameraList);
    CameraEntry* others = active->next;
    active->next = nullptr;
    for (ObjectEntry* e = engine.objectManager->objectList; e->next; e = e->next) e->visible = false;
    LogView& view = *engine.console->logView;
    view.Place(view.x, 380, view.width, view.height, 0);
    engine.console->visible = true;
    Frame frame = Draw();
    engine.console->visible = false;
    view.Place(view.x, 30, view.width, view.height, 0);
    for (ObjectEntry* e = engine.objectManager->objectList; e; e = e->next) e->visible = true;
    active->next = others;
    ASSERT_GT(frame.width, 100u);

    // The red lamp, the light in this camera's view: its marker where it stands, none where the
    // column's matrix would carry it.
    auto marked = [&frame](POINT centre) {
        int count = 0;
        for (LONG y = centre.y - 20; y <= centre.y + 20; ++y)
            for (LONG x = centre.x - 20; x <= centre.x + 20; ++x)
                if (x >= 0 && y >= 0 && x < (LONG)frame.width && y < (LONG)frame.height)
                    count += memcmp(frame.At(x, y), "\x64\x82\xAA", 3) != 0;   // not the clear colour
        return count;
    };
    const D3DXVECTOR4 at = engine.lightManager->lightList->next->next->light->position;
    EXPECT_GT(marked(Project(frame, D3DXVECTOR3(at.x, at.y, at.z))), 40);
    EXPECT_EQ(marked(Project(frame, D3DXVECTOR3(at.x + 150, at.y, at.z - 30))), 0);
}

// Last: it leaves a model in the level. The drop goes through SDL's own event queue to a window
// of the engine's window procedure that accepts files.
TEST_F(DefaultLevelTest, ADroppedFileBecomesAnObjectInFrontOfTheCamera)
{
    Frame before = Draw();
    HWND target = orvex_test::CreateTestWindow("OrvexDrops", 200, 200, WS_EX_ACCEPTFILES, WindowProc);
    ASSERT_NE(target, nullptr);
    const std::string dropped = std::filesystem::absolute("meshes/cube.x").string();
    SDL_Event event = {};
    event.drop.windowID = SDL_GetWindowID(win32_sdl_window(target));
    event.type = SDL_DROPFILE;
    event.drop.file = SDL_strdup(dropped.c_str());
    SDL_PushEvent(&event);
    const int objects = engine.objectManager->objectCount;
    MSG message;
    for (int pass = 0; pass < 100 && engine.objectManager->objectCount == objects; ++pass)
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    ASSERT_EQ(engine.objectManager->objectCount, objects + 1);
    ObjectEntry* last = engine.objectManager->objectList;
    while (last->next) last = last->next;
    EXPECT_EQ(std::string(last->file.getChars()), dropped) << "what show.list names";

    Frame after = Draw();
    ASSERT_EQ(after.rgba.size(), before.rgba.size());
    int changed = 0;
    for (int dy = -20; dy <= 20; ++dy)
        for (int dx = -20; dx <= 20; ++dx)
            changed += memcmp(before.At(after.width / 2 + dx, after.height / 2 + dy),
                              after.At(after.width / 2 + dx, after.height / 2 + dy), 3) != 0;
    EXPECT_GT(changed, 41 * 41 * 3 / 4) << "the model covers the middle of the view";
}

}  // namespace
