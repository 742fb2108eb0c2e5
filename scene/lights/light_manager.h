#pragma once
// The level's lights: loading, reporting, handing one light's values to an effect, markers.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"
#include "scene/lights/light.h"

class Console;

struct LightEntry {
    int id;                // 1, 2, 3 ... in loading order
    Orvex_Light* light;    // owned
    LightEntry* next;
    LightEntry* previous;
};

class Orvex_Light_Manager {
public:
    // Empty list. The console must outlive the manager.
    explicit Orvex_Light_Manager(Console* console);
    virtual ~Orvex_Light_Manager();

    // Reads the level file named exactly levelName into a fresh tree, sets the lights up and
    // reports "Light Manager setup completed with N lights." (_COMMENT_). Always true.
    bool LoadLevel(const char* levelName);
    // Adds every light named under "_LIGHTS_", in file order.
    void SetupLights(DynamicRow* tree);
    // Creates and loads one light (a missing node gives the defaults), reports
    // "[+] Light:  <name>" and appends it. Returns its id.
    int AddLight(Orvex_string name, DynamicRow* tree);
    // Sets "LightPos", "LightColor", "LightFalloff", "LightSpecular", "LightSpecular_Itens",
    // "LightAmbient" and "Attenuation", in that order, from the light with that id. The object
    // drawing calls it for every light before each effect's Begin. A null effect or an id no
    // light has sets nothing.
    void ApplyLight(ID3DXEffect* effect, int lightIndex);
    // Draws every light's marker in list order; nothing at all when there is no light. Called
    // by the frame drawing while the console is shown.
    void DrawMarkers(IDirect3DDevice9** device, IDirect3DTexture9** firstTexture,
                     IDirect3DTexture9** secondTexture);

    int lightCount;
    LightEntry* lightList;
    Console* console;

private:
    LightEntry* lastEntry;   // the list's tail, so that adding stays constant-time
};
