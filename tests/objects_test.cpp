// Scene objects and the object manager on the headless platform: meshes that do not load, the
// texture fallback chain, level setup, the object commands, shared files and the drawing order.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "call_log.h"
#include "core_test_support.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/model_view.h"
#include "scene/objects/object_manager.h"
#include "scene/objects/static_cobject.h"
#include "scene_test_support.h"

namespace {

using scene_test::Message;

// A 24-bit BMP of size x size pixels, all of one grey: sizes tell the loaded files apart.
std::string Bmp(int size)
{
    const int row = (size * 3 + 3) & ~3;
    const int bytes = 54 + row * size;
    std::string b(bytes, '\0');
    auto put32 = [&b](int at, int v) {
        for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B', b[1] = 'M';
    put32(2, bytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, size);
    put32(22, size);
    b[26] = 1, b[28] = 24;
    for (int i = 54; i < bytes; ++i) b[i] = char(0x80);
    return b;
}

// A text .x quad of two triangles with one material per texture name; an empty name writes
// a material without a TextureFilename. Face i uses material i (the last for the rest).
std::string XQuad(const std::vector<std::string>& textures)
{
    std::string x = "xof 0303txt 0032\nMesh quad {\n 4;\n 0;0;0;, 10;0;0;, 10;10;0;, 0;10;0;;\n"
                    " 2;\n 3;0,1,2;, 3;0,2,3;;\n MeshMaterialList {\n  ";
    x += std::to_string(textures.size()) + ";\n  2;\n  0," +
         std::to_string(textures.size() > 1 ? 1 : 0) + ";;\n";
    for (const std::string& texture : textures) {
        x += "  Material {\n   0.25;0.5;0.75;1.0;;\n   8.0;\n   0.1;0.1;0.1;;\n   0.0;0.0;0.0;;\n";
        if (!texture.empty()) x += "   TextureFilename { \"" + texture + "\"; }\n";
        x += "  }\n";
    }
    return x + " }\n}\n";
}

// Objects tests run in a scratch folder of their own, as the viewer runs in data/.
class ObjectsTest : public scene_test::SceneTest {
protected:
    void SetUp() override
    {
        scene_test::SceneTest::SetUp();
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previous = here;
        ASSERT_EQ(chdir(dir.path().c_str()), 0);
        std::filesystem::create_directories("textures/_def");
        std::filesystem::create_directories("meshes");
        cameras = new Orvex_Camera_Manager(console);
        effects = new Orvex_Effect_Manager(device, console, cameras);
        lights = new Orvex_Light_Manager(console);
        D3DXMatrixIdentity(&baseWorld);
        objects = new Orvex_Object_Manager(&baseWorld, &device, console, effects, lights);
    }
    void TearDown() override
    {
        delete objects;
        delete lights;
        delete effects;
        delete cameras;
        EXPECT_EQ(chdir(previous.c_str()), 0);
        scene_test::SceneTest::TearDown();
    }

    // An object file naming mesh (none when empty) and the effects.
    std::string ObjectFile(const std::string& name, const std::string& mesh,
                           const std::string& fx = "")
    {
        std::string text;
        if (!mesh.empty()) text += "_MODEL_FILE_ { " + mesh + " }\n";
        if (!fx.empty()) text += "_FX_ { " + fx + " }\n";
        return dir.Write(name, text);
    }
    // One "_OBJECTS_" entry.
    static std::string Entry(const std::string& name, const std::string& type,
                             const std::string& path, const std::string& position = "0 0 0",
                             const std::string& rotation = "0 0 0")
    {
        return name + " { _OBJECT_TYPE_ { " + type + " } _OBJECT_PATH_ { " + path +
               " } _POSITION_ { " + position + " } _ROTATION_ { " + rotation + " } }\n";
    }
    // Loads a level of these "_OBJECTS_" entries.
    void LoadObjects(const std::string& entries)
    {
        objects->LoadLevel(Level("_OBJECTS_ {\n" + entries + "}\n").c_str());
    }
    // A loaded object, placed; the caller owns it.
    Static_CObject* MakeObject(const std::string& file, float x = 0, float y = 0, float z = 0,
                               float rx = 0, float ry = 0, float rz = 0)
    {
        Static_CObject* object =
            new Static_CObject(&baseWorld, file.c_str(), &device, effects, lights, console);
        object->position[0] = x, object->position[1] = y, object->position[2] = z;
        object->rotation[0] = rx, object->rotation[1] = ry, object->rotation[2] = rz;
        return object;
    }
    std::vector<std::string> Lines(const char* category)
    {
        return scene_test::Texts(*console, category);
    }
    std::vector<std::string> List()
    {
        size_t before = Lines("_SYSTEM_").size();
        Orvex_string command;
        command = "show.list";
        objects->ExecuteCommand(command);
        std::vector<std::string> all = Lines("_SYSTEM_");
        return std::vector<std::string>(all.begin() + before, all.end());
    }
    void Command(const char* text)
    {
        Orvex_string line;
        line = text;
        objects->ExecuteCommand(line);
    }

    std::string previous;
    D3DXMATRIX baseWorld;
    Orvex_Camera_Manager* cameras = nullptr;
    Orvex_Effect_Manager* effects = nullptr;
    Orvex_Light_Manager* lights = nullptr;
    Orvex_Object_Manager* objects = nullptr;
};

// ---- the object file and Load ----

TEST_F(ObjectsTest, MeshesThatCannotLoadAreReportedAndLeaveNothingToDraw)
{
    std::filesystem::create_directories("meshes/folder.x");
    dir.Write("meshes/zero_faces.x", "xof 0303txt 0032\nMesh empty {\n 0;;\n 0;;\n}\n");
    dir.Write("meshes/garbage.x", "this is not a mesh");
    const char* paths[] = {"meshes\\nowhere.x", "meshes\\folder.x", "meshes\\zero_faces.x",
                           "meshes\\garbage.x", "/dev/zero"};
    for (const char* path : paths) {
        Static_CObject* object = MakeObject(ObjectFile("bad.obj", path, "phong"));
        EXPECT_TRUE(object->Load()) << path;
        EXPECT_EQ(object->materialCount, 0u) << path;
        EXPECT_EQ(object->effectCount, 1u);
        scene_test::ClearCallLog();
        object->Render(1, true);
        EXPECT_TRUE(scene_test::CallsStartingWith("mesh").empty()) << path;
        delete object;
    }
    std::vector<std::string> expected;
    for (const char* path : paths) expected.push_back(std::string("[M.F] cannot find: ") + path);
    EXPECT_EQ(Lines("_ERROR_"), expected);
}

// Which file the texture came from, by its size: as stored 2, under textures\ 4, the default 8.
TEST_F(ObjectsTest, TexturesFallBackFromTheStoredNameToTexturesToTheDefault)
{
    struct Case {
        const char* what;
        bool asStored, inTextures, defaultThere;
        UINT width;          // 0: no texture
        bool reported;
    } cases[] = {
        {"found as stored", true, true, true, 2, false},
        {"found under textures", false, true, true, 4, false},
        {"only the default", false, false, true, 8, false},
        {"nowhere at all", false, false, false, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove("wood.bmp");
        std::filesystem::remove("textures/wood.bmp");
        std::filesystem::remove("textures/_def/def.bmp");
        if (c.asStored) dir.Write("wood.bmp", Bmp(2));
        if (c.inTextures) dir.Write("textures/wood.bmp", Bmp(4));
        if (c.defaultThere) dir.Write("textures/_def/def.bmp", Bmp(8));
        dir.Write("meshes/wood.x", XQuad({"wood.bmp"}));
        size_t errorsBefore = Lines("_ERROR_").size();

        Static_CObject* object = MakeObject(ObjectFile("wood.obj", "meshes/wood.x"));
        ASSERT_TRUE(object->Load());
        ASSERT_EQ(object->materialCount, 1u);
        IDirect3DTexture9* texture = object->textures[0];
        if (c.width) {
            ASSERT_NE(texture, nullptr);
            D3DSURFACE_DESC desc;
            ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
            EXPECT_EQ(desc.Width, c.width);
        } else {
            EXPECT_EQ(texture, nullptr);
        }
        std::vector<std::string> errors = Lines("_ERROR_");
        errors.erase(errors.begin(), errors.begin() + errorsBefore);
        EXPECT_EQ(errors, c.reported ? std::vector<std::string>{"[T.F] cannot find: wood.bmp"}
                                     : std::vector<std::string>{});
        delete object;
    }
    // A name of one letter is a name too.
    dir.Write("w", Bmp(2));
    dir.Write("meshes/w.x", XQuad({"w"}));
    Static_CObject* object = MakeObject(ObjectFile("w.obj", "meshes/w.x"));
    ASSERT_TRUE(object->Load());
    EXPECT_NE(object->textures[0], nullptr);
    delete object;
}

// ---- the manager ----

TEST_F(ObjectsTest, LevelSetupCountsFailuresAndNumbersTheObjectsThatLoad)
{
    const std::string good = ObjectFile("good.obj", "", "phong");  // no model: nothing to load
    struct Case {
        const char* what;
        std::string entries;
        std::vector<std::string> list;
        std::vector<Message> log;
    } cases[] = {
        {"second file missing",
         Entry("a", "_OBJECT_SIMPLE_", good) + Entry("b", "_OBJECT_SIMPLE_", "missing.obj") +
             Entry("c", "_OBJECT_SIMPLE_", good),
         {"id:1  visible:1  file:" + good, "id:2  visible:1  file:" + good},
         {{"[O.F.] " + good, "_TEXT_"},
          {"[O.F.] missing.obj", "_TEXT_"},
          {"[!] Object File is corrupted and parameters are not loaded!", "_ERROR_"},
          {"[O.F.] " + good, "_TEXT_"},
          {"Object Manager setup completed with 1 errors and 2 objects.", "_COMMENT_"}}},
        {"other types and no type",
         Entry("a", "_OBJECT_DYNAMIC_", good) + Entry("b", "_object_simple_", good) +
             "c { _OBJECT_PATH_ { " + good + " } }\n",
         {},
         {{"Object Manager setup completed with 0 errors and 0 objects.", "_COMMENT_"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        delete objects;
        objects = new Orvex_Object_Manager(&baseWorld, &device, console, effects, lights);
        const size_t before = scene_test::Messages(*console).size();
        LoadObjects(c.entries);
        const std::vector<Message> messages = scene_test::Messages(*console);
        EXPECT_EQ(std::vector<Message>(messages.begin() + before, messages.end()), c.log);
        EXPECT_EQ(List(), c.list);
        EXPECT_EQ(objects->shownObjectCount, objects->objectCount);
    }
}

TEST_F(ObjectsTest, CommandsLoadListAndShowObjects)
{
    const std::string good = ObjectFile("good.obj", "", "phong");  // no model: nothing to load
    LoadObjects(Entry("a", "_OBJECT_SIMPLE_", good) + Entry("b", "_OBJECT_SIMPLE_", good));
    const std::string later = ObjectFile("later.obj", "");

    Command("load.OBJECT_SIMPLE /dev/zero");
    Command(("load.OBJECT_SIMPLE " + later).c_str());
    std::vector<std::string> list = List();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2], "id:3  visible:1  file:" + later) << "a failed load uses up no id";
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_EQ(memcmp(&static_cast<Static_CObject*>(objects->objectList->next->next->object)->world,
                     &identity, sizeof identity), 0) << "loaded at the origin, unturned";

    struct Step {
        const char* command;
        std::vector<Message> replies;
        int visibleOfTwo;
    } steps[] = {
        {"object.visible 2 0", {{"[Object] id: 2  visible(changed): 0", "_SYSTEM_"}}, 0},
        {"object.visible 2 5", {{"[Object] id: 2  visible(changed): 1", "_SYSTEM_"}}, 1},
        {"object.visible 2 x", {{"[Object] id: 2  visible(changed): 0", "_SYSTEM_"}}, 0},
        {"object.visible 2 1", {{"[Object] id: 2  visible(changed): 1", "_SYSTEM_"}}, 1},
        {"object.visible 2", {{"What are you mean?)", "_ERROR_"}}, 1},
        {"object.visible", {{"What are you mean?)", "_ERROR_"}}, 1},
        {"object.visible 9 0", {}, 1},
        {"object.visible -1 0", {}, 1},
        {"object.visible 99999999999 0", {}, 1},
        {"Object.visible 2 0", {}, 1},
        {"show.lists", {}, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        size_t before = scene_test::Messages(*console).size();
        Command(step.command);
        std::vector<Message> messages = scene_test::Messages(*console);
        EXPECT_EQ(std::vector<Message>(messages.begin() + before, messages.end()), step.replies);
        EXPECT_EQ(objects->objectList->next->visible, step.visibleOfTwo != 0);
    }
    EXPECT_EQ(objects->objectCount, 3);
    EXPECT_EQ(objects->errorCount, 1) << "a failed load after the setup still counts";
}

// Where a point of an object's mesh ends up in the world.
D3DXVECTOR3 InWorld(const Static_CObject* object, float x, float y, float z)
{
    const D3DXMATRIX& w = object->world;
    return D3DXVECTOR3(x * w._11 + y * w._21 + z * w._31 + w._41, x * w._12 + y * w._22 + z * w._32 + w._42,
                       x * w._13 + y * w._23 + z * w._33 + w._43);
}

TEST_F(ObjectsTest, OpenedModelsSitInFrontOfTheCameraAndBadOnesAreReported)
{
    std::filesystem::create_directories("my models");
    dir.Write("my models/quad.x", XQuad({"quad.bmp"}));
    dir.Write("my models/quad.bmp", Bmp(2));   // found beside the model
    DynamicRow level = scene_test::Tree("_CAMERAS_ { c { _POSITION_ { 0 0 -100 } _LOOK_ { 0 0 0 } } }");
    cameras->SetupCameras(&level);
    objects->cameraManager = cameras;

    Command("load.MODEL   \"my models/quad.x\"  ");
    Command("load.MODEL my models\\quad.x");
    Command("load.MODEL my models/missing.x");
    Command("load.MODEL /dev/zero");
    Command("load.MODEL \"\"");
    std::vector<std::string> list = List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "id:1  visible:1  file:my models/quad.x");
    EXPECT_EQ(list[1], "id:2  visible:1  file:my models\\quad.x");
    EXPECT_EQ(Lines("_ERROR_"), (std::vector<std::string>{"[M.F] cannot find: my models/missing.x",
                                                          "[M.F] cannot find: /dev/zero",
                                                          "[M.F] cannot find: "}));
    EXPECT_EQ(objects->errorCount, 3);

    // The quad (0..10 in x and y) is centred 150 in front of the camera and grown to about half
    // the view's height there.
    const Static_CObject* quad = static_cast<Static_CObject*>(objects->objectList->object);
    D3DXVECTOR3 centre = InWorld(quad, 5, 5, 0);
    EXPECT_NEAR(centre.x, 0.0f, 1e-3f);
    EXPECT_NEAR(centre.y, 0.0f, 1e-3f);
    EXPECT_NEAR(centre.z, 50.0f, 1e-3f);
    D3DXVECTOR3 corner = InWorld(quad, 10, 10, 0) - centre;
    EXPECT_NEAR(sqrtf(corner.x * corner.x + corner.y * corner.y), 0.5f * 150.0f * 0.41421356f, 0.01f);
}

TEST_F(ObjectsTest, ModelsGivenAtStartStandSideBySideOnAFloorSizedToThem)
{
    dir.Write("meshes/floor.x", XQuad({""}));
    dir.Write("wide.x", "xof 0303txt 0032\nMesh m {\n 3;\n -7;-2;1;, 33;-2;1;, -7;8;1;;\n 1;\n 3;0,1,2;;\n}\n");
    dir.Write("tall.x", "xof 0303txt 0032\nMesh m {\n 3;\n 0;0;0;, 1;0;0;, 0;4;0;;\n 1;\n 3;0,1,2;;\n}\n");
    dir.Write("huge.x", "xof 0303txt 0032\nMesh m {\n 3;\n -3e38;0;0;, 3e38;0;0;, 0;1e38;0;;\n 1;\n 3;0,1,2;;\n}\n");
    D3DXVECTOR3 low, high;
    const std::string longName(Orvex_string::MAX_LENGTH + 1, 'n');
    EXPECT_EQ(objects->LoadModels({"wide.x", "missing.x", "tall.x", "huge.x", longName}, &low, &high), 3);
    // A model not found, a name too long for an object file too, is one error (the long one
    // wraps over display lines).
    std::vector<std::string> heads;
    for (const std::string& line : Lines("_ERROR_"))
        if (line[0] == '[') heads.push_back(line.substr(0, 25));
    EXPECT_EQ(heads, (std::vector<std::string>{"[M.F] cannot find: missin", "[M.F] cannot find: nnnnnn"}));
    ASSERT_EQ(List().size(), 4u) << "three models and the floor";
    const Static_CObject* huge = static_cast<Static_CObject*>(objects->objectList->next->next->object);
    EXPECT_NEAR(InWorld(huge, 3e38f, 0, 0).x - InWorld(huge, -3e38f, 0, 0).x, 100.0f, 1e-2f) << "6e38 wide";

    const Static_CObject* wide = static_cast<Static_CObject*>(objects->objectList->object);
    const Static_CObject* tall = static_cast<Static_CObject*>(objects->objectList->next->object);
    const Static_CObject* floor = static_cast<Static_CObject*>(objects->objectList->next->next->next->object);
    // Both are 100 across their largest side, on the ground, the wide one left of the tall one.
    EXPECT_NEAR(InWorld(wide, 33, -2, 1).x - InWorld(wide, -7, -2, 1).x, 100.0f, 1e-3f);
    EXPECT_NEAR(InWorld(tall, 0, 4, 0).y - InWorld(tall, 0, 0, 0).y, 100.0f, 1e-3f);
    EXPECT_NEAR(InWorld(wide, -7, -2, 1).y, 0.0f, 1e-3f);
    EXPECT_NEAR(InWorld(tall, 0, 0, 0).y, 0.0f, 1e-3f);
    EXPECT_LT(InWorld(wide, 33, -2, 1).x, InWorld(tall, 0, 0, 0).x);
    // The floor reaches past both.
    EXPECT_LT(InWorld(floor, 0, 0, 0).x, low.x);
    EXPECT_GT(InWorld(floor, 10, 0, 0).x, high.x);

    // The level the view makes for them, as a level file: lamps about the models, cameras that
    // walk a fiftieth of their distance from the models a step, the phong effect.
    DynamicRow level;
    AddModelViewLevel(low, high, &level);
    std::string text;
    ASSERT_TRUE(level.SaveToText(text));
    EXPECT_TRUE(orvex_test::MatchesGolden("model_view_level.txt", text));
}

TEST_F(ObjectsTest, ObjectsOfOneSetupShareLoadedFilesWhileCommandsLoadTheirOwn)
{
    dir.Write("textures/wood.bmp", Bmp(4));
    dir.Write("textures/_def/def.bmp", Bmp(8));
    dir.Write("meshes/wood.x", XQuad({"wood.bmp", "nowhere.bmp"}));
    const std::string wood = ObjectFile("wood.obj", "meshes/wood.x");
    const std::string lost = ObjectFile("lost.obj", "meshes/lost.x");
    scene_test::ClearCallLog();
    LoadObjects(Entry("a", "_OBJECT_SIMPLE_", wood) + Entry("b", "_OBJECT_SIMPLE_", wood) +
                Entry("c", "_OBJECT_SIMPLE_", lost) + Entry("d", "_OBJECT_SIMPLE_", lost));
    ASSERT_EQ(objects->objectCount, 4);
    EXPECT_EQ(scene_test::CallsStartingWith("CreateTexture").size(), 2u) << "wood and the default";
    Static_CObject* a = static_cast<Static_CObject*>(objects->objectList->object);
    Static_CObject* b = static_cast<Static_CObject*>(objects->objectList->next->object);
    ASSERT_EQ(a->materialCount, 2u);
    EXPECT_EQ(a->mesh, b->mesh);
    EXPECT_EQ(a->textures[0], b->textures[0]);
    EXPECT_EQ(a->textures[1], b->textures[1]);
    EXPECT_NE(a->textures[0], a->textures[1]);
    // Each object holds one reference; the shared set has let go of its own.
    a->mesh->AddRef();
    EXPECT_EQ(a->mesh->Release(), 2u);
    a->textures[1]->AddRef();
    EXPECT_EQ(a->textures[1]->Release(), 2u);
    EXPECT_EQ(Lines("_ERROR_"), std::vector<std::string>(2, "[M.F] cannot find: meshes/lost.x"))
        << "a file that fails is tried, and reported, for every object";

    Command(("load.OBJECT_SIMPLE " + wood).c_str());
    Static_CObject* later = static_cast<Static_CObject*>(objects->objectList->next->next->next->next->object);
    EXPECT_NE(later->mesh, a->mesh) << "a command loads its own copy";
    EXPECT_NE(later->textures[0], a->textures[0]);
}

// ---- drawing ----

TEST_F(ObjectsTest, ObjectsWithoutEffectsDrawOncePerLightSkippingHiddenOnes)
{
    dir.Write("meshes/quad.x", XQuad({"", ""}));
    const std::string plain = ObjectFile("plain.obj", "meshes/quad.x");
    LoadObjects(Entry("a", "_OBJECT_SIMPLE_", plain, "1 0 0") +
                Entry("b", "_OBJECT_SIMPLE_", plain, "2 0 0") +
                Entry("c", "_OBJECT_SIMPLE_", plain, "3 0 0"));
    scene_test::ClearCallLog();
    objects->DrawObjects();
    EXPECT_TRUE(scene_test::CallLog().empty()) << "no light, nothing drawn, not even without effects";

    lights->LoadLevel(Level("_LIGHTS_ { l1 l2 }\n").c_str());
    Command("object.visible 2 0");

    scene_test::ClearCallLog();
    objects->DrawObjects();
    std::vector<std::string> expected;
    for (int light = 1; light <= 2; ++light)
        for (int x : {1, 3}) {
            expected.push_back("SetTransform(WORLD, {1 0 0 0; 0 1 0 0; 0 0 1 0; " +
                               std::to_string(x) + " 0 0 1})");
            for (int s = 0; s < 2; ++s) {
                expected.push_back("SetMaterial({D 0.25 0.5 0.75 1, A 0.25 0.5 0.75 1, S 0.1 0.1 0.1 1, "
                                   "E 0 0 0 1, P 8})");
                expected.push_back("SetTexture(0, NULL)");
                expected.push_back("mesh meshes/quad.x DrawSubset(" + std::to_string(s) + ")");
            }
        }
    EXPECT_EQ(scene_test::CallLog(), expected);
}

}  // namespace
