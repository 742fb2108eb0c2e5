#include "scene/effects/effect_manager.h"

#include <cassert>

#include "console/console.h"
#include "scene/cameras/camera_manager.h"
#include "scene/cameras/level_file.h"

namespace {

// The name of the first value of key under node, or an empty text when node or key is missing
// or the key has no value.
bool FirstValueOf(DynamicRow* tree, unsigned node, const char* key, Orvex_string* value) {
    if (node < 1) return false;
    unsigned k = tree->iLookInFor(node, key);
    unsigned first = k >= 1 ? tree->TopId(k) : 0;
    if (first < 1) return false;
    *value = tree->iLookName(first);
    return true;
}

}  // namespace

Orvex_Effect_Manager::Orvex_Effect_Manager(IDirect3DDevice9* device_, Console* console_,
                                           Orvex_Camera_Manager* cameraManager_)
    : device(device_),
      effectCount(0),
      effectList(nullptr),
      console(console_),
      cameraManager(cameraManager_),
      lastEntry(nullptr) {
    assert(console && cameraManager);
}

Orvex_Effect_Manager::~Orvex_Effect_Manager() {
    FreeEntries(effectList, [](EffectEntry* entry) {
        if (entry->effect) entry->effect->Release();
        delete entry->parameters;
    });
}

bool Orvex_Effect_Manager::LoadLevel(const char* levelName) {
    assert(levelName);
    DynamicRow tree;
    LoadLevelTree(levelName, &tree);
    SetupEffects(&tree);

    Orvex_string summary;
    summary = "Effect Manager setup completed with ";
    summary += effectCount;
    summary += " Effects.";
    console->AddMessage(summary, 2);
    return true;
}

void Orvex_Effect_Manager::SetupEffects(DynamicRow* tree) {
    ForEachListed(tree, "_EFFECTS_",
                  [this, tree](const Orvex_string& name) { AddEffect(name, tree); });
}

int Orvex_Effect_Manager::AddEffect(Orvex_string name, DynamicRow* tree) {
    ++effectCount;
    unsigned id = tree->iLookId(name);

    Orvex_string path;
    ID3DXEffect* effect = nullptr;
    bool hasPath = FirstValueOf(tree, id, "_FILE_FX_", &path);
    if (!hasPath || FAILED(D3DXCreateEffectFromFileA(device, path.getChars(), nullptr, nullptr, 0,
                                                     nullptr, &effect, nullptr)) ||
        !effect) {
        // Without a "_FILE_FX_" there is no path to show; the effect's name says which failed.
        console->AddMessage(hasPath ? path : name, 1);
        return 0;
    }

    EffectEntry* entry = new EffectEntry;
    entry->id = effectCount;
    entry->name = name;
    entry->effect = effect;
    entry->parameters = nullptr;

    Orvex_string parameterFile;
    parameterFile = "none";
    FirstValueOf(tree, id, "_FILE_", &parameterFile);
    LoadParameters(parameterFile, entry);

    Orvex_string report;
    report = "[+] Effect:  ";
    report += name;
    console->AddMessage(report, 0);

    AppendEntry(&effectList, &lastEntry, entry);
    return entry->id;
}

void Orvex_Effect_Manager::LoadParameters(Orvex_string file, EffectEntry* entry) {
    DynamicRow* parameters = new DynamicRow;
    parameters->fresh();
    if (file != "none") parameters->iLoadFromFile(file);
    delete entry->parameters;
    entry->parameters = parameters;
}

ID3DXEffect* Orvex_Effect_Manager::FindEffect(Orvex_string name, D3DXMATRIX* view,
                                              D3DXMATRIX* projection) {
    D3DXVECTOR4 viewPosition(0.0f, 0.0f, 0.0f, 1.0f);
    CameraEntry* active = cameraManager->activeCamera;
    if (active) {
        const Orvex_Camera* camera = active->camera;
        viewPosition = D3DXVECTOR4(camera->position.x, camera->position.y, camera->position.z, 1.0f);
        if (view) *view = camera->viewMatrix;
        if (projection) *projection = camera->projectionMatrix;
    } else {
        if (view) D3DXMatrixIdentity(view);
        if (projection) D3DXMatrixIdentity(projection);
    }

    for (EffectEntry* entry = effectList; entry; entry = entry->next) {
        entry->effect->SetVector("View_Pos", &viewPosition);
        if (entry->name == name) return entry->effect;
    }
    return nullptr;
}
