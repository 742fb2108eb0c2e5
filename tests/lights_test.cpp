// Lights on the headless platform: the keys with their value counts, and no marker without a
// light.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "scene/lights/light.h"
#include "scene/lights/light_manager.h"
#include "scene_test_support.h"

using namespace scene_test;

namespace {

struct Values {
    D3DXVECTOR4 position, lookAt, color;
    float falloff, specular, specularIntensity, ambient, attenuation;
};

const Values kDefaults = {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}, 1000.0f, 8.5f, 0.19f, 0.005f,
                          0.8f};

void ExpectLight(const Orvex_Light& light, const Values& v, const std::string& what) {
    const float* got[] = {&light.position.x, &light.lookAt.x, &light.color.x};
    const float* want[] = {&v.position.x, &v.lookAt.x, &v.color.x};
    for (int vector = 0; vector < 3; ++vector)
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(got[vector][i], want[vector][i]) << what << " vector " << vector
                                                              << " component " << i;
    EXPECT_FLOAT_EQ(light.falloff, v.falloff) << what;
    EXPECT_FLOAT_EQ(light.specular, v.specular) << what;
    EXPECT_FLOAT_EQ(light.specularIntensity, v.specularIntensity) << what;
    EXPECT_FLOAT_EQ(light.ambient, v.ambient) << what;
    EXPECT_FLOAT_EQ(light.attenuation, v.attenuation) << what;
}

TEST(LightLoading, ReadsKeysWithTheirValueCountsOverDefaults) {
    struct Case {
        const char* what;
        const char* keys;
        Values expected;
    };
    Values red = kDefaults;
    red.color = D3DXVECTOR4(1, 0, 0, 1);
    Values placed = kDefaults;
    placed.position = D3DXVECTOR4(1, 2, 3, 1);
    Values all = {{1, 2, 3, 1}, {4, 5, 6, 1}, {0.5f, 0.25f, 0.125f, 1}, 600, 4, 0.5f, 0.1f, 0.3f};
    Values intensity = kDefaults;
    intensity.specularIntensity = 0.7f;
    Values knotValue = kDefaults;
    knotValue.falloff = 7;
    Values nonFinite = kDefaults;
    nonFinite.position = D3DXVECTOR4(0, 0, 4, 1);
    nonFinite.falloff = 0;
    nonFinite.ambient = 0;
    const Case cases[] = {
        {"only a colour", "_COLOR_ { 1 0 0 }", red},
        {"position with two values", "_POSITION_ { 1 2 }", kDefaults},
        {"position with four values", "_POSITION_ { 1 2 3 9 }", placed},
        {"all keys",
         "_POSITION_ { 1 2 3 } _LOOK_ { 4 5 6 } _COLOR_ { 0.5 0.25 0.125 } _FALLOFF_ { 600 } "
         "_SPECULAR_ { 4 } _SPECULAR_INTENSY_ { 0.5 } _AMBIENT_ { 0.1 } _ATTENUATION_ { 0.3 }",
         all},
        {"only the misspelt key sets the intensity",
         "_SPECULAR_INTENSITY_ { 0.9 } _SPECULAR_INTENSY_ { 0.7 }", intensity},
        {"a knot under a key counts as a value", "_FALLOFF_ { 7 { } }", knotValue},
        {"values that are no finite number count as 0",
         "_POSITION_ { nan inf 4 } _FALLOFF_ { 1e40 } _AMBIENT_ { abc }", nonFinite},
    };
    for (const Case& c : cases) {
        DynamicRow tree = Tree(std::string("_LIGHTS_ { lamp } lamp { ") + c.keys + " }");
        Orvex_Light light;
        Orvex_string name;
        name = "lamp";
        EXPECT_TRUE(light.LoadFromTree(name, &tree)) << c.what;
        EXPECT_STREQ(light.name.getChars(), "lamp");
        ExpectLight(light, c.expected, c.what);
    }
}

TEST(LightLoading, MissingOrEmptyNodeKeepsDefaults) {
    for (const char* text : {"_LIGHTS_ { lamp }", "lamp { }"}) {
        DynamicRow tree = Tree(text);
        Orvex_Light light;
        Orvex_string name;
        name = "lamp";
        EXPECT_FALSE(light.LoadFromTree(name, &tree)) << text;
        ExpectLight(light, kDefaults, text);
    }
}

using LightManagerTest = SceneTest;

TEST_F(LightManagerTest, NoLightDrawsNoMarkerAtAll) {
    Orvex_Light_Manager manager(console);
    ASSERT_TRUE(manager.LoadLevel(Level("_LIGHTS_ { }").c_str()));
    IDirect3DTexture9* first = nullptr;
    IDirect3DTexture9* second = nullptr;
    ClearCallLog();
    manager.DrawMarkers(&device, &first, &second);
    EXPECT_TRUE(CallLog().empty());
}

}  // namespace
