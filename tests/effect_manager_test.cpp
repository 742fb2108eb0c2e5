// The effect manager on the headless platform: compiling the level's effects with their ids,
// reports and parameter files, and the look-up that hands out the active camera's transforms.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "console/console.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene_test_support.h"

using namespace scene_test;

namespace {

// A small effect of the shape the level's effects have: the camera's parameters and one pass.
const char* kEffect =
    "float4x4 mat_World_View_Proj;\n"
    "float4x4 matWorld;\n"
    "float4 View_Pos;\n"
    "float4 vs_main(float4 p : POSITION) : POSITION { return mul(p, mat_World_View_Proj); }\n"
    "float4 ps_main() : COLOR { return View_Pos; }\n"
    "technique vor_Phong {\n"
    "    pass P0 {\n"
    "        VertexShader = compile vs_2_0 vs_main();\n"
    "        PixelShader = compile ps_2_0 ps_main();\n"
    "    }\n"
    "}\n";

class EffectManagerTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        cameras = new Orvex_Camera_Manager(console);
        manager = new Orvex_Effect_Manager(device, console, cameras);
        fx = dir.Write("a.fx", kEffect);
    }
    void TearDown() override {
        delete manager;
        delete cameras;
        SceneTest::TearDown();
    }
    void LoadLevel(const std::string& text) {
        ASSERT_TRUE(manager->LoadLevel(Level(text).c_str()));
    }
    // The level text of one effect entry.
    std::string Entry(const std::string& name, const std::string& file,
                      const std::string& parameters = "none") {
        return name + " { _FILE_FX_ { \"" + file + "\" } _FILE_ { \"" + parameters + "\" } }\n";
    }
    ID3DXEffect* Find(const char* name, D3DXMATRIX* view, D3DXMATRIX* projection) {
        Orvex_string text;
        text = name;
        return manager->FindEffect(text, view, projection);
    }

    // The first line of the compiler's message for a fault on that line of file.
    std::string CompilerLine(const std::string& file, int line) {
        for (const std::string& text : Texts(*console, "_ERROR_"))
            if (text.rfind(file + "(" + std::to_string(line) + "): error: ", 0) == 0) return text;
        return "no compiler line for " + file + " line " + std::to_string(line);
    }

    std::string fx;
    Orvex_Camera_Manager* cameras = nullptr;
    Orvex_Effect_Manager* manager = nullptr;
};

TEST_F(EffectManagerTest, FailedEffectUsesUpItsIdAndReportsItsPathAndWhereItFailed) {
    const std::string broken = dir.Write("broken.fx", "float4 View_Pos;\nfloat4 = 1;\n");
    LoadLevel("_EFFECTS_ { one two three }\n" + Entry("one", fx) + Entry("two", broken) +
              Entry("three", fx));
    EXPECT_EQ(manager->effectCount, 3);
    ASSERT_NE(manager->effectList, nullptr);
    EXPECT_EQ(manager->effectList->id, 1);
    ASSERT_NE(manager->effectList->next, nullptr);
    EXPECT_EQ(manager->effectList->next->id, 3);
    EXPECT_EQ(manager->effectList->next->previous, manager->effectList);
    EXPECT_EQ(manager->effectList->next->next, nullptr);
    // The path, then the compiler's message (cut into display lines) between the two effects.
    std::vector<Message> messages = Messages(*console);
    ASSERT_GE(messages.size(), 5u);
    EXPECT_EQ(messages[1], (Message{broken, "_ERROR_"}));
    EXPECT_EQ(messages[2], (Message{CompilerLine(broken, 2), "_ERROR_"}));
    for (size_t i = 2; i + 2 < messages.size(); ++i)
        EXPECT_NE(messages[i].text, "") << "blank compiler line " << i;
    messages.erase(messages.begin() + 1, messages.end() - 2);
    EXPECT_EQ(messages, (std::vector<Message>{{"[+] Effect:  one", "_TEXT_"},
                                              {"[+] Effect:  three", "_TEXT_"},
                                              {"Effect Manager setup completed with 3 Effects.",
                                               "_COMMENT_"}}));
    // Added later, a good effect answers its id and a broken one 0.
    DynamicRow more;
    ASSERT_TRUE(more.iLoadFromFile(Level(Entry("four", fx) + Entry("five", broken)).c_str()));
    EXPECT_EQ(manager->AddEffect("four", &more), 4);
    EXPECT_EQ(manager->AddEffect("five", &more), 0);
}

TEST_F(EffectManagerTest, MissingKeysFailLikeABadFileOrMeanNoParameters) {
    LoadLevel("_EFFECTS_ { nofx nofile ghost }\n"
              "nofx { _FILE_ { none } }\n"
              "nofile { _FILE_FX_ { \"" + fx + "\" } }\n");
    EXPECT_EQ(manager->effectCount, 3);
    ASSERT_NE(manager->effectList, nullptr);
    EXPECT_EQ(manager->effectList->id, 2);
    EXPECT_EQ(manager->effectList->next, nullptr);
    ASSERT_NE(manager->effectList->parameters, nullptr);
    EXPECT_EQ(manager->effectList->parameters->TopId(0), 0u);
    EXPECT_EQ(Texts(*console, "_ERROR_"), (std::vector<std::string>{"nofx", "ghost"}));
}

TEST_F(EffectManagerTest, OnlyTheExactWordNoneMeansNoParameterFile) {
    struct Case {
        const char* file;
        bool loaded;
    };
    const Case cases[] = {{"none", false}, {"None", true}, {"NONE", true}, {"params", true},
                          {"absent", false}};
    // Files of each name exist in the working folder, so only the word decides.
    for (const char* name : {"none", "None", "NONE", "params"})
        dir.Write(name, std::string("marker_") + name + " { 1 }\n");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    std::string level = "_EFFECTS_ {";
    for (int i = 0; i < 5; ++i) level += " e" + std::to_string(i);
    level += " }\n";
    for (int i = 0; i < 5; ++i) level += Entry("e" + std::to_string(i), fx, cases[i].file);
    LoadLevel(level);
    ASSERT_EQ(chdir(previous), 0);

    EffectEntry* entry = manager->effectList;
    for (const Case& c : cases) {
        ASSERT_NE(entry, nullptr);
        ASSERT_NE(entry->parameters, nullptr);
        EXPECT_EQ(entry->parameters->TopId(0) >= 1, c.loaded) << c.file;
        entry = entry->next;
    }
}

TEST_F(EffectManagerTest, FindEffectReturnsTheFirstOfANameAndSetsViewPosOnEveryEffectPassed) {
    DynamicRow level = Tree("_CAMERAS_ { c } c { _POSITION_ { 1 2 3 } _LOOK_ { 0 0 10 } }");
    cameras->SetupCameras(&level);
    cameras->activeCamera->camera->Apply(&device);
    const std::string second = dir.Write("b.fx", kEffect);
    LoadLevel("_EFFECTS_ { a b a }\n" + Entry("a", fx) + Entry("b", second));
    ASSERT_EQ(manager->effectList->next->id, 2);

    // The search for an effect each object draws with, its camera's matrices and where it stops
    // are in the program's frame records (core_program_test.cpp).
    D3DXMATRIX view, projection;
    EXPECT_EQ(Find("a", &view, &projection), manager->effectList->effect);
    EXPECT_EQ(Find("b", &view, &projection), manager->effectList->next->effect);
    ClearCallLog();
    EXPECT_EQ(Find("A", &view, &projection), nullptr);   // names are case-sensitive
    // Both entries named "a" compile the same file; a failed search passes all three.
    EXPECT_EQ(CallsStartingWith("effect " + fx + " SetVector(View_Pos, 1 2 3 1)").size(), 2u);
    EXPECT_EQ(CallsStartingWith("effect " + second + " SetVector(View_Pos, 1 2 3 1)").size(), 1u);
}

}  // namespace

TEST_F(EffectManagerTest, AnEditedEffectFileIsCompiledAgainOnceASecondAndABrokenOneIsNotTaken) {
    LoadLevel("_EFFECTS_ { one }\n" + Entry("one", fx));
    ASSERT_NE(manager->effectList, nullptr);
    ID3DXEffect* loaded = manager->effectList->effect;
    const size_t logged = Messages(*console).size();

    dir.Write("a.fx", std::string(kEffect) + "float4 Tint;\nfloat4 = 3;\n");
    AdvanceClock(999);
    manager->ReloadChangedEffects();
    EXPECT_EQ(Messages(*console).size(), logged) << "looked before a second had passed";
    AdvanceClock(1);
    manager->ReloadChangedEffects();
    EXPECT_EQ(manager->effectList->effect, loaded);
    const std::vector<std::string> errors = Texts(*console, "_ERROR_");
    ASSERT_GE(errors.size(), 2u);
    EXPECT_EQ(errors[0], "[!] Effect kept, its file does not compile: " + fx);
    EXPECT_EQ(errors[1], CompilerLine(fx, 13));

    dir.Write("a.fx", std::string(kEffect) + "float4 Tint;\n");
    AdvanceClock(999);
    manager->ReloadChangedEffects();
    EXPECT_EQ(manager->effectList->effect, loaded) << "looked again before a second had passed";
    AdvanceClock(1);
    manager->ReloadChangedEffects();
    ASSERT_NE(manager->effectList->effect, loaded);
    EXPECT_NE(manager->effectList->effect->GetParameterByName(nullptr, "Tint"), nullptr);
    EXPECT_EQ(Messages(*console).back(), (Message{"[~] Effect reloaded:  one", "_COMMENT_"}));

    const size_t reloaded = Messages(*console).size();
    AdvanceClock(5000);
    manager->ReloadChangedEffects();
    EXPECT_EQ(Messages(*console).size(), reloaded) << "an unchanged file was compiled again";
}
