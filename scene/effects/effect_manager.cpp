#include "scene/effects/effect_manager.h"

#include <algorithm>
#include <cassert>
#include <string>

#include "console/console.h"
#include "scene/cameras/camera_manager.h"
#include "scene/level_file.h"

namespace {

// How often the effect files are looked at, and how much of a compiler's message is shown.
const DWORD kReloadPeriodMs = 1000;
const size_t kCompilerLinesShown = 5;

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
    reloadTimer.Start();
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
    console->AddMessage(summary, CONSOLE_COMMENT);
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
    ID3DXBuffer* errors = nullptr;
    bool hasPath = FirstValue(tree, id, "_FILE_FX_", &path);
    if (hasPath) effect = Compile(path, &errors);
    if (!effect) {
        // Without a "_FILE_FX_" there is no path to show; the effect's name says which failed.
        ReportFailure(hasPath ? path : name, errors);
        return 0;
    }

    EffectEntry* entry = new EffectEntry;
    entry->id = effectCount;
    entry->name = name;
    entry->effect = effect;
    entry->parameters = nullptr;
    entry->file = path;
    entry->stamp = StampEffectFile(path.getChars());

    Orvex_string parameterFile;
    parameterFile = "none";
    FirstValue(tree, id, "_FILE_", &parameterFile);
    LoadParameters(parameterFile, entry);

    Orvex_string report;
    report = "[+] Effect:  ";
    report += name;
    console->AddMessage(report, CONSOLE_TEXT);

    AppendEntry(&effectList, &lastEntry, entry);
    return entry->id;
}

ID3DXEffect* Orvex_Effect_Manager::Compile(const Orvex_string& path, ID3DXBuffer** errors) {
    ID3DXEffect* effect = nullptr;
    *errors = nullptr;
    if (FAILED(D3DXCreateEffectFromFileA(device, path.getChars(), nullptr, nullptr, 0, nullptr,
                                         &effect, errors)) ||
        !effect) {
        if (effect) effect->Release();
        return nullptr;
    }
    if (*errors) {  // warnings of an effect that compiled
        (*errors)->Release();
        *errors = nullptr;
    }
    return effect;
}

void Orvex_Effect_Manager::ReportFailure(const Orvex_string& headline, ID3DXBuffer* errors) {
    console->AddMessage(headline, CONSOLE_ERROR);
    if (!errors) return;
    const char* text = static_cast<const char*>(errors->GetBufferPointer());
    const size_t size = errors->GetBufferSize();
    std::string message(text ? text : "", text ? size : 0);
    message.resize(std::min(message.find('\0'), message.size()));
    errors->Release();

    size_t shown = 0;
    size_t start = 0;
    while (start < message.size()) {
        size_t end = message.find('\n', start);
        if (end == std::string::npos) end = message.size();
        std::string line = message.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        if (line.empty()) continue;
        if (shown == kCompilerLinesShown) {
            console->AddMessage("...", CONSOLE_ERROR);
            return;
        }
        console->AddMessage(line.c_str(), CONSOLE_ERROR);
        ++shown;
    }
}

void Orvex_Effect_Manager::ReloadChangedEffects() {
    if (reloadTimer.Elapsed() < kReloadPeriodMs) return;
    reloadTimer.Start();
    for (EffectEntry* entry = effectList; entry; entry = entry->next) {
        const EffectFileStamp stamp = StampEffectFile(entry->file.getChars());
        if (stamp == entry->stamp) continue;
        entry->stamp = stamp;
        ID3DXBuffer* errors = nullptr;
        ID3DXEffect* effect = Compile(entry->file, &errors);
        if (!effect) {
            Orvex_string headline;
            headline = "[!] Effect kept, its file does not compile: ";
            headline += entry->file;
            ReportFailure(headline, errors);
            continue;
        }
        entry->effect->Release();
        entry->effect = effect;
        Orvex_string report;
        report = "[~] Effect reloaded:  ";
        report += entry->name;
        console->AddMessage(report, CONSOLE_COMMENT);
    }
}

void Orvex_Effect_Manager::LoadParameters(Orvex_string file, EffectEntry* entry) {
    DynamicRow* parameters = new DynamicRow;
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
