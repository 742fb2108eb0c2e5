#include "scene/lights/light_manager.h"

#include <cassert>

#include "console/console.h"
#include "core/draw_lines.h"
#include "scene/level_file.h"

Orvex_Light_Manager::Orvex_Light_Manager(Console* console_)
    : lightCount(0), lightList(nullptr), console(console_), lastEntry(nullptr) {
    assert(console);
}

Orvex_Light_Manager::~Orvex_Light_Manager() {
    FreeEntries(lightList, [](LightEntry* entry) { delete entry->light; });
}

bool Orvex_Light_Manager::LoadLevel(const char* levelName) {
    assert(levelName);
    DynamicRow tree;
    LoadLevelTree(levelName, &tree);
    SetupLights(&tree);

    Orvex_string summary;
    summary = "Light Manager setup completed with ";
    summary += lightCount;
    summary += " lights.";
    console->AddMessage(summary, CONSOLE_COMMENT);
    return true;
}

void Orvex_Light_Manager::SetupLights(DynamicRow* tree) {
    ForEachListed(tree, "_LIGHTS_", [this, tree](const Orvex_string& name) { AddLight(name, tree); });
}

int Orvex_Light_Manager::AddLight(Orvex_string name, DynamicRow* tree) {
    ++lightCount;
    Orvex_Light* light = new Orvex_Light;
    light->LoadFromTree(name, tree);

    Orvex_string report;
    report = "[+] Light:  ";
    report += name;
    console->AddMessage(report, CONSOLE_TEXT);

    LightEntry* entry = new LightEntry{lightCount, light, nullptr, nullptr};
    AppendEntry(&lightList, &lastEntry, entry);
    return entry->id;
}

void Orvex_Light_Manager::ApplyLight(ID3DXEffect* effect, int lightIndex) {
    if (!effect) return;
    LightEntry* entry = lightList;
    while (entry && entry->id != lightIndex) entry = entry->next;
    if (!entry) return;
    Orvex_Light* light = entry->light;
    effect->SetVector("LightPos", &light->position);
    effect->SetVector("LightColor", &light->color);
    effect->SetFloat("LightFalloff", light->falloff);
    effect->SetFloat("LightSpecular", light->specular);
    effect->SetFloat("LightSpecular_Itens", light->specularIntensity);
    effect->SetFloat("LightAmbient", light->ambient);
    effect->SetFloat("Attenuation", light->attenuation);
}

void Orvex_Light_Manager::DrawMarkers(IDirect3DDevice9** device, IDirect3DTexture9** firstTexture,
                                      IDirect3DTexture9** secondTexture) {
    if (!lightList || !device || !*device) return;
    // Light positions are world points: without this the last object's world matrix (or an
    // inactive camera marker's identity, when there is one) would decide where they land.
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    (*device)->SetTransform(D3DTS_WORLD, &identity);
    (*device)->SetFVF(MARKER_LINE_FVF);
    for (LightEntry* entry = lightList; entry; entry = entry->next)
        entry->light->DrawMarker(device, firstTexture, secondTexture);
}
