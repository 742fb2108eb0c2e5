// Cameras and the camera manager on the headless platform: the keys a camera reads, keyboard and
// mouse control on the scripted clock and the camera commands.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "console/console.h"
#include "scene/cameras/camera.h"
#include "scene/cameras/camera_manager.h"
#include "scene_test_support.h"

using namespace scene_test;

namespace {

const float kEps = 1e-4f;

void ExpectVector(const D3DXVECTOR3& v, float x, float y, float z, const std::string& what) {
    EXPECT_NEAR(v.x, x, kEps) << what;
    EXPECT_NEAR(v.y, y, kEps) << what;
    EXPECT_NEAR(v.z, z, kEps) << what;
}

bool IsFinite(const D3DXMATRIX& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!std::isfinite(m.m[r][c])) return false;
    return true;
}

// ---- One camera ----

struct LoadCase {
    const char* what;
    const char* knot;   // the keys of the camera "cam"
    D3DXVECTOR3 position, lookAt, up, right;
    float moveSpeed;
};

TEST(CameraLoading, ReadsKeysWithTheirValueCountsOverDefaults) {
    const LoadCase cases[] = {
        {"only a position", "_POSITION_ { 0 100 -300 }", {0, 100, -300}, {0, 0, 0}, {0, 1, 0},
         {0, 0, 1}, 0.1f},
        {"all keys", "_POSITION_ { 1 2 3 } _LOOK_ { 4 5 6 } _UP_ { 0 0 1 } _RIGHT_ { 1 0 0 } "
                     "_MOVESPEED_ { 0.5 }",
         {1, 2, 3}, {4, 5, 6}, {0, 0, 1}, {1, 0, 0}, 0.5f},
        {"up with two values is skipped", "_UP_ { 1 2 }", {0, 0, 0}, {0, 0, 0}, {0, 1, 0},
         {0, 0, 1}, 0.1f},
        {"extra values ignored", "_MOVESPEED_ { 2 5 } _LOOK_ { 1 2 3 4 }", {0, 0, 0}, {1, 2, 3},
         {0, 1, 0}, {0, 0, 1}, 2.0f},
        {"the later key wins", "_POSITION_ { 1 1 1 } _POSITION_ { 7 8 9 }", {7, 8, 9}, {0, 0, 0},
         {0, 1, 0}, {0, 0, 1}, 0.1f},
        {"a knot is not a value", "_POSITION_ { 1 2 inner { } }", {0, 0, 0}, {0, 0, 0},
         {0, 1, 0}, {0, 0, 1}, 0.1f},
        {"keys are case-sensitive", "_position_ { 1 2 3 } _Look_ { 1 2 3 }", {0, 0, 0},
         {0, 0, 0}, {0, 1, 0}, {0, 0, 1}, 0.1f},
        {"values that are no finite number count as 0",
         "_POSITION_ { nan inf 1e40 } _LOOK_ { -inf abc 5 } _MOVESPEED_ { NaN }", {0, 0, 0},
         {0, 0, 5}, {0, 1, 0}, {0, 0, 1}, 0.0f},
        {"a view whose offset overflows is not taken",
         "_POSITION_ { 3e38 -3e38 0 } _LOOK_ { 3e38 -3e38 1 } _UP_ { 1 1 0 }", {3e38f, -3e38f, 0},
         {3e38f, -3e38f, 1}, {1, 1, 0}, {0, 0, 1}, 0.1f},
    };
    for (const LoadCase& c : cases) {
        DynamicRow tree = Tree(std::string("_CAMERAS_ { cam } cam { ") + c.knot + " }");
        Orvex_Camera camera;
        Orvex_string name;
        name = "cam";
        EXPECT_TRUE(camera.LoadFromTree(name, &tree)) << c.what;
        EXPECT_STREQ(camera.name.getChars(), "cam");
        ExpectVector(camera.position, c.position.x, c.position.y, c.position.z, c.what);
        ExpectVector(camera.lookAt, c.lookAt.x, c.lookAt.y, c.lookAt.z, c.what);
        ExpectVector(camera.up, c.up.x, c.up.y, c.up.z, c.what);
        ExpectVector(camera.right, c.right.x, c.right.y, c.right.z, c.what);
        EXPECT_FLOAT_EQ(camera.moveSpeed, c.moveSpeed) << c.what;
        EXPECT_TRUE(IsFinite(camera.viewMatrix) && IsFinite(camera.projectionMatrix)) << c.what;
    }

    // A camera without its knot is never applied: objects that look it up get the identity.
    DynamicRow tree = Tree("_CAMERAS_ { cam }");
    Orvex_Camera camera;
    Orvex_string name;
    name = "cam";
    EXPECT_FALSE(camera.LoadFromTree(name, &tree));
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_EQ(memcmp(&camera.viewMatrix, &identity, sizeof identity), 0);
    EXPECT_EQ(memcmp(&camera.projectionMatrix, &identity, sizeof identity), 0);
    // A direction that overflows leaves the side vector as it was.
    tree = Tree("_CAMERAS_ { cam } cam { _POSITION_ { 3e38 -3e38 0 } _LOOK_ { -3e38 3e38 1 } }");
    ASSERT_TRUE(camera.LoadFromTree(name, &tree));
    camera.Apply(nullptr);
    ExpectVector(camera.right, 0, 0, 1, "after Apply");
}


// ---- The camera manager ----

const char* kThreeCameras =
    "_CAMERAS_ { first second third }\n"
    "first { _POSITION_ { 0 0 -100 } _LOOK_ { 0 0 0 } }\n"
    "second { _POSITION_ { 100 0 0 } _LOOK_ { 0 0 0 } }\n"
    "third { _POSITION_ { 0 50 0 } _LOOK_ { 0 50 10 } _MOVESPEED_ { 2 } }\n";

class CameraManagerTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        manager = new Orvex_Camera_Manager(console);
    }
    void TearDown() override {
        delete manager;
        SceneTest::TearDown();
    }
    void LoadLevel(const std::string& text) {
        ASSERT_TRUE(manager->LoadLevel(Level(text).c_str()));
    }
    Orvex_Camera* Active() { return manager->activeCamera->camera; }
    // One frame as the engine runs it: the active camera applies itself, then the clock moves
    // on by the frame's time and the keyboard and mouse steps run.
    void Frame(float milliseconds, bool leftButton = false) {
        if (manager->activeCamera) Active()->Apply(&device);
        AdvanceClock(static_cast<DWORD>(milliseconds));
        manager->HandleKeyboard(milliseconds);
        manager->HandleMouse(nullptr, leftButton);
    }
    std::vector<std::string> Replies() { return Texts(*console, "_SYSTEM_"); }
    void Command(const char* text) {
        Orvex_string line;
        line = text;
        manager->ExecuteCommand(line);
    }

    Orvex_Camera_Manager* manager = nullptr;
};

TEST_F(CameraManagerTest, CamerasThatCannotMoveAreNamedInOneErrorLineEach) {
    LoadLevel("_CAMERAS_ { fine nowhere onpoint above }\n"
              "fine { _POSITION_ { 0 90 -1 } _LOOK_ { 0 0 0 } }\n"
              "onpoint { _POSITION_ { 5 5 5 } _LOOK_ { 5 5 5 } }\n"
              "above { _POSITION_ { 5 90 5 } _LOOK_ { 5 0 5 } }\n");
    EXPECT_EQ(manager->cameraCount, 4);
    EXPECT_EQ(Texts(*console, "_ERROR_"),
              (std::vector<std::string>{
                  "[!] Camera nowhere: no knot in the level; default view, it cannot move",
                  "[!] Camera onpoint: looks straight up, down or at itself; it cannot move",
                  "[!] Camera above: looks straight up, down or at itself; it cannot move"}));
}

TEST_F(CameraManagerTest, TabHeldForOneSecondSwitchesAtMostThreeTimesInCycle) {
    LoadLevel(kThreeCameras);
    AdvanceClock(1000);
    SetKey(VK_TAB, true);
    std::vector<int> seen{manager->activeCamera->id};
    for (int elapsed = 0; elapsed < 1000; elapsed += 16) {
        Frame(16);
        if (manager->activeCamera->id != seen.back()) seen.push_back(manager->activeCamera->id);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 1}));
}

TEST_F(CameraManagerTest, CameraNextTwiceWithin360msSwitchesOnce) {
    AdvanceClock(10000);
    delete manager;
    manager = new Orvex_Camera_Manager(console);
    LoadLevel(kThreeCameras);
    AdvanceClock(359);
    Command("camera.next");  // the manager was made 359 ms ago
    AdvanceClock(41);
    Command("camera.next");
    AdvanceClock(359);
    Command("camera.next");
    EXPECT_EQ(manager->activeCamera->id, 2);
    const std::string first = "Currient camera was changed to: camera \xB9 1";
    const std::string reply = "Currient camera was changed to: camera \xB9 2";
    EXPECT_EQ(Replies(), (std::vector<std::string>{first, reply, reply}));
    AdvanceClock(1);
    Command("camera.next");
    EXPECT_EQ(manager->activeCamera->id, 3);
}

TEST_F(CameraManagerTest, CommandWordsAreExactAndRepliesNameTheActiveCamera) {
    // The active id afterwards, starting from camera 1, and the reply (null: none at all).
    struct Case { const char* line; int active; const char* reply; };
    const Case cases[] = {
        {"Camera.Set 3", 3, "Currient camera was changed to: camera \xB9 3"},
        {"camera.set 3", 3, "Currient camera was changed to: camera \xB9 3"},
        {"camera.set 9", 1, "Currient camera was changed to: camera \xB9 1"},
        {"camera.set", 1, "Currient camera was changed to: camera \xB9 1"},
        {"camera.set two", 1, "Currient camera was changed to: camera \xB9 1"},
        {"Camera.Next", 1, nullptr},
        {"CAMERA.SET 2", 1, nullptr},
        {"Camera.Speed 3", 1, nullptr},
        {"", 1, nullptr},
    };
    LoadLevel(kThreeCameras);
    AdvanceClock(1000);
    for (const Case& c : cases) {
        manager->SetActiveCamera(1);
        size_t before = Replies().size();
        Command(c.line);
        EXPECT_EQ(manager->activeCamera->id, c.active) << c.line;
        std::vector<std::string> replies = Replies();
        if (c.reply) {
            ASSERT_EQ(replies.size(), before + 1) << c.line;
            EXPECT_EQ(replies.back(), c.reply) << c.line;
        } else {
            EXPECT_EQ(replies.size(), before) << c.line;
        }
    }
    EXPECT_FLOAT_EQ(Active()->moveSpeed, 0.1f);
}

TEST_F(CameraManagerTest, ElapsedTimeScalesWalkingWithAFloorOf005) {
    const struct { float elapsed, t; } cases[] = {{0, 0.05f}, {1, 0.05f}, {3, 0.05f}, {16, 16 / 60.0f}, {120, 2.0f}};
    LoadLevel(kThreeCameras);   // camera 1 looks along +z with speed 0.1
    SetKey('W', true);
    for (const auto& c : cases) {
        Active()->Apply(&device);
        float z = Active()->position.z;
        float lookZ = Active()->lookAt.z;
        manager->HandleKeyboard(c.elapsed);
        EXPECT_NEAR(Active()->position.z - z, 0.1f * c.t, 1e-5f) << c.elapsed;
        EXPECT_NEAR(Active()->lookAt.z - lookZ, 0.1f * c.t, 1e-5f) << c.elapsed;
    }
}

TEST_F(CameraManagerTest, MovementKeysAddUpAndOppositeKeysCancel) {
    // The step, with v * t = 1, looking along (0, 0.6, 0.8), right = -x.
    struct Case { const char* what; std::vector<int> keys; D3DXVECTOR3 step; };
    const Case cases[] = {
        {"W walks level with x and z of the direction", {'W'}, {0, 0, 0.8f}},
        {"up arrow", {VK_UP}, {0, 0, 0.8f}},
        {"S", {'S'}, {0, 0, -0.8f}},
        {"A strafes left", {'A'}, {-1, 0, 0}},
        {"right arrow", {VK_RIGHT}, {1, 0, 0}},
        {"W and S", {'W', 'S'}, {0, 0, 0}},
        {"up and W count once", {'W', VK_UP}, {0, 0, 0.8f}},
        {"W and A", {'W', 'A'}, {-1, 0, 0.8f}},
        {"left shift flies along the whole direction", {VK_LSHIFT}, {0, 0.6f, 0.8f}},
    };
    LoadLevel("_CAMERAS_ { c } c { _MOVESPEED_ { 0.5 } }");
    for (const Case& c : cases) {
        Active()->position = D3DXVECTOR3(0, 0, 0);
        Active()->lookAt = D3DXVECTOR3(0, 30, 40);
        Active()->Apply(&device);
        for (int k : c.keys) SetKey(k, true);
        manager->HandleKeyboard(120);   // t = 2
        for (int k : c.keys) SetKey(k, false);
        ExpectVector(Active()->position, c.step.x, c.step.y, c.step.z, c.what);
        ExpectVector(Active()->lookAt - Active()->position, 0, 30, 40, c.what);
    }
}

TEST_F(CameraManagerTest, MouseDragTurnsOneDegreePerThreePixels) {
    LoadLevel(kThreeCameras);   // camera 1 at (0, 0, -100) looking at the origin
    Active()->Apply(&device);
    SetCursor(200, 200);
    Frame(16);
    SetCursor(230, 200);   // 30 pixels right: 10 degrees about the world up axis
    Frame(16, true);
    const float a = 10.0f * 0.0174532924f;
    ExpectVector(Active()->lookAt, 100 * std::sin(a), 0, -100 + 100 * std::cos(a), "yaw");
    ExpectVector(Active()->position, 0, 0, -100, "the eye stays");

    Active()->lookAt = D3DXVECTOR3(0, 0, 0);
    Active()->Apply(&device);
    SetCursor(230, 170);   // 30 pixels up: 10 degrees about right, looking up
    Frame(16, true);
    EXPECT_NEAR(Active()->lookAt.y, 100 * std::sin(a), 1e-3f);
    EXPECT_NEAR(Active()->lookAt.z, -100 + 100 * std::cos(a), 1e-3f);

    D3DXVECTOR3 look = Active()->lookAt;
    SetCursor(400, 400);   // moving with the button up turns nothing but is remembered
    Frame(16, false);
    Frame(16, true);
    ExpectVector(Active()->lookAt, look.x, look.y, look.z, "no jump when a drag starts");
    SetCursor(401, 399);
    Frame(16, true);
    EXPECT_GT(Active()->lookAt.x, look.x + 0.1f) << "a single pixel turns too";
    EXPECT_GT(Active()->lookAt.y, look.y + 0.1f) << "and pitches too";
}

TEST_F(CameraManagerTest, OpenConsoleFreezesCameraAndMouseUntilItCloses) {
    LoadLevel(kThreeCameras);
    AdvanceClock(1000);
    SetCursor(100, 100);
    Frame(16);

    SetKey(VK_OEM_3, true);
    Frame(16);
    SetKey(VK_OEM_3, false);
    ASSERT_TRUE(console->visible);

    D3DXVECTOR3 position = Active()->position;
    D3DXVECTOR3 look = Active()->lookAt;
    SetKey(VK_UP, true);
    SetCursor(160, 100);
    Frame(16, true);
    Frame(16, true);
    SetKey(VK_UP, false);
    ExpectVector(Active()->position, position.x, position.y, position.z, "frozen");
    ExpectVector(Active()->lookAt, look.x, look.y, look.z, "frozen");
    EXPECT_FLOAT_EQ(manager->lastMouseX, 100.0f);

    console->visible = false;
    Frame(16, true);   // the whole 60 pixels at once: 20 degrees
    const float a = 20.0f * 0.0174532924f;
    ExpectVector(Active()->lookAt, 100 * std::sin(a), 0, -100 + 100 * std::cos(a), "turned");
}

}  // namespace
