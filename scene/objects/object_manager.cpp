#include "scene/objects/object_manager.h"

#include <cassert>

#include "console/console.h"
#include "scene/cameras/camera_manager.h"
#include "scene/level_file.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/model_view.h"
#include "scene/objects/object_resources.h"
#include "scene/objects/static_cobject.h"

namespace {

// Three values of key under entry; those that are missing count as 0.
void ReadTriple(DynamicRow& level, unsigned entry, const char* key, float out[3])
{
    out[0] = out[1] = out[2] = 0.0f;
    unsigned k = level.iLookInFor(entry, key);
    if (k > 0) ReadLevelFloats(&level, k, out, 3);
}

// The path of load.MODEL: the rest of the line (which comes without blanks at its ends) without
// quotes around it.
std::string ModelPath(const Orvex_string& rest)
{
    std::string path = rest.getChars();
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return path;
}

}  // namespace

Orvex_Object_Manager::Orvex_Object_Manager(D3DXMATRIX* baseWorld_, IDirect3DDevice9** deviceSlot_,
                                           Console* console_, Orvex_Effect_Manager* effectManager_,
                                           Orvex_Light_Manager* lightManager_)
    : objectCount(0),
      shownObjectCount(0),
      objectList(NULL),
      baseWorld(baseWorld_),
      deviceSlot(deviceSlot_),
      errorCount(0),
      console(console_),
      effectManager(effectManager_),
      lightManager(lightManager_),
      plainTexture(NULL),
      cameraManager(NULL),
      lastEntry(NULL),
      setupResources(NULL)
{
    assert(baseWorld && deviceSlot && console && lightManager);
}

Orvex_Object_Manager::~Orvex_Object_Manager()
{
    FreeEntries(objectList, [](ObjectEntry* entry) { delete entry->object; });
}

bool Orvex_Object_Manager::LoadLevel(const char* levelFile)
{
    errorCount = 0;
    DynamicRow level;
    LoadLevelTree(levelFile, &level);
    SetupObjects(level);
    return true;
}

bool Orvex_Object_Manager::SetupObjects(DynamicRow& level)
{
    errorCount = 0;
    Object_Resources shared;
    setupResources = &shared;
    ForEachListedId(&level, "_OBJECTS_", [this, &level](unsigned entry) {
        Orvex_string type, path;
        FirstValue(&level, entry, "_OBJECT_TYPE_", &type);
        FirstValue(&level, entry, "_OBJECT_PATH_", &path);
        float position[3], rotation[3];
        ReadTriple(level, entry, "_POSITION_", position);
        ReadTriple(level, entry, "_ROTATION_", rotation);
        if (type == "_OBJECT_SIMPLE_") AddObject(path, position, rotation);
    });
    setupResources = NULL;

    ReportSetup();
    return true;
}

int Orvex_Object_Manager::AddObject(Orvex_string objectFile, const float position[3],
                                    const float rotation[3])
{
    Orvex_string message;
    message = "[O.F.] ";
    message += objectFile;
    console->AddMessage(message, CONSOLE_TEXT);

    Static_CObject* object = new Static_CObject(baseWorld, objectFile.getChars(), deviceSlot,
                                                effectManager, lightManager, console);
    for (int axis = 0; axis < 3; ++axis) {
        object->position[axis] = position[axis];
        object->rotation[axis] = rotation[axis];
    }
    return Adopt(object, objectFile, false);
}

int Orvex_Object_Manager::Adopt(Static_CObject* object, const Orvex_string& file, bool needsMesh)
{
    ++objectCount;
    ++shownObjectCount;
    object->resources = setupResources;
    object->plainTexture = plainTexture;
    const bool loaded = object->Load() && (!needsMesh || object->mesh);
    object->resources = NULL;   // the shared set lives only as long as the setup
    if (!loaded) {
        ++errorCount;
        --objectCount;
        --shownObjectCount;
        delete object;
        return 0;
    }

    ObjectEntry* entry = new ObjectEntry;
    entry->id = objectCount;
    entry->object = object;
    entry->file = file;
    entry->visible = true;
    AppendEntry(&objectList, &lastEntry, entry);
    return entry->id;
}

Static_CObject* Orvex_Object_Manager::AddModel(const std::string& modelFile)
{
    Orvex_string file;
    file = modelFile.c_str();
    Orvex_string message;
    message = "[O.F.] ";
    message += file;
    console->AddMessage(message, CONSOLE_TEXT);

    Static_CObject* object = new Static_CObject(baseWorld, NULL, deviceSlot, effectManager,
                                                lightManager, console);
    const size_t slash = modelFile.find_last_of("/\\");
    if (slash != std::string::npos)
        object->textureFolder = modelFile.substr(0, slash + 1).c_str();
    DynamicRow generated;
    generated.AddToId(generated.AddToId(0, true, "_MODEL_FILE_"), false, modelFile.c_str());
    generated.AddToId(generated.AddToId(0, true, "_FX_"), false, "phong");
    std::string text;
    // A name too long for an object file cannot be read back: the model is then not found.
    if (modelFile.size() > Orvex_string::MAX_LENGTH || !generated.SaveToText(text) ||
        !object->objectFile.LoadFromText(text.data(), text.size())) {
        message = "[M.F] cannot find: ";
        message += file;
        console->AddMessage(message, CONSOLE_ERROR);
        object->objectFile.LoadFromText("", 0);
    }
    if (Adopt(object, file, true) == 0)
        return NULL;
    return object;
}

int Orvex_Object_Manager::LoadModel(const std::string& modelFile)
{
    Static_CObject* object = AddModel(modelFile);
    if (!object)
        return 0;
    D3DXVECTOR3 low, high;
    CameraEntry* active = cameraManager ? cameraManager->activeCamera : NULL;
    if (active && object->MeshBounds(&low, &high)) {
        D3DXVECTOR3 position;
        float scale;
        PlaceInView(active->camera->position, active->camera->lookAt, low, high, &position, &scale);
        object->Place(position, scale);
    }
    return objectCount;
}

int Orvex_Object_Manager::LoadModels(const std::vector<std::string>& modelFiles, D3DXVECTOR3* low,
                                     D3DXVECTOR3* high)
{
    errorCount = 0;
    const float gap = 0.2f * kModelViewSize;
    std::vector<Static_CObject*> models;
    std::vector<D3DXVECTOR3> lows, highs;
    float width = 0.0f;
    for (const std::string& file : modelFiles) {
        Static_CObject* object = AddModel(file);
        D3DXVECTOR3 l(0.0f, 0.0f, 0.0f), h(0.0f, 0.0f, 0.0f);
        if (!object)
            continue;
        object->MeshBounds(&l, &h);
        object->scale = ScaleToSize(l, h, kModelViewSize);
        models.push_back(object);
        lows.push_back(l * object->scale);
        highs.push_back(h * object->scale);
        width += (highs.back().x - lows.back().x) + (models.size() > 1 ? gap : 0.0f);
    }

    // Side by side along X, centred on the origin, each standing on the ground (y = 0) with its
    // box centred on z = 0.
    *low = D3DXVECTOR3(-0.5f * width, 0.0f, 0.0f);
    *high = D3DXVECTOR3(0.5f * width, 0.0f, 0.0f);
    float left = -0.5f * width;
    for (size_t i = 0; i < models.size(); ++i) {
        const D3DXVECTOR3 size = highs[i] - lows[i];
        D3DXVECTOR3 at(left - lows[i].x, -lows[i].y, -0.5f * (lows[i].z + highs[i].z));
        models[i]->Place(at, models[i]->scale);
        left += size.x + gap;
        high->y = size.y > high->y ? size.y : high->y;
        low->z = -0.5f * size.z < low->z ? -0.5f * size.z : low->z;
        high->z = 0.5f * size.z > high->z ? 0.5f * size.z : high->z;
    }

    if (!models.empty()) {
        Static_CObject* floor = AddModel("meshes\\floor.x");
        D3DXVECTOR3 fl, fh;
        if (floor && floor->MeshBounds(&fl, &fh)) {
            const D3DXVECTOR3 extent = *high - *low;
            const float across = 2.0f * (extent.x > extent.z ? extent.x : extent.z);
            const float scale = ScaleToSize(fl, fh, across > kModelViewSize ? across : kModelViewSize);
            D3DXVECTOR3 at(-0.5f * (fl.x + fh.x) * scale, -fh.y * scale, -0.5f * (fl.z + fh.z) * scale);
            floor->Place(at, scale);
        }
    }

    ReportSetup();
    return (int)models.size();
}

void Orvex_Object_Manager::ReportSetup()
{
    Orvex_string summary;
    summary = "Object Manager setup completed with ";
    summary += errorCount;
    summary += " errors and ";
    summary += objectCount;
    summary += " objects.";
    console->AddMessage(summary, CONSOLE_COMMENT);
}

void Orvex_Object_Manager::DrawObjects()
{
    for (int light = 1; light <= lightManager->lightCount; ++light)
        for (ObjectEntry* entry = objectList; entry; entry = entry->next)
            if (entry->visible) entry->object->Render(light, light == 1);
}

const ConsoleCommand<Orvex_Object_Manager> Orvex_Object_Manager::commands[] = {
    {"load.OBJECT_SIMPLE", nullptr,
     [](Orvex_Object_Manager& manager, const Orvex_string& path) {
         const float origin[3] = {0.0f, 0.0f, 0.0f};
         manager.AddObject(path, origin, origin);
     }},
    {"load.MODEL", nullptr,
     [](Orvex_Object_Manager& manager, const Orvex_string& rest) { manager.LoadModel(ModelPath(rest)); }},
    {"show.list", nullptr,
     [](Orvex_Object_Manager& manager, const Orvex_string&) { manager.ShowList(); }},
    {"object.visible", nullptr,
     [](Orvex_Object_Manager& manager, const Orvex_string& arguments) {
         manager.SetVisible(arguments);
     }},
};

void Orvex_Object_Manager::ExecuteCommand(Orvex_string line)
{
    Orvex_string word;
    Orvex_string rest;
    line.DivideTwoParameters(word, rest);
    RunConsoleCommand(commands, *this, word, rest);
}

std::vector<std::string> Orvex_Object_Manager::CommandWords()
{
    return ConsoleCommandWords(commands);
}

void Orvex_Object_Manager::ShowList()
{
    for (ObjectEntry* entry = objectList; entry; entry = entry->next) {
        Orvex_string text;
        text = "id:";
        text += entry->id;
        text += "  visible:";
        text += entry->visible ? 1 : 0;
        text += "  file:";
        text += entry->file;
        console->AddMessage(text, CONSOLE_SYSTEM);
    }
}

void Orvex_Object_Manager::SetVisible(const Orvex_string& arguments)
{
    Orvex_string idText;
    Orvex_string valueText;
    arguments.DivideTwoParameters(idText, valueText);
    if (idText.empty() || valueText.empty()) {
        console->AddMessage("What are you mean?)", CONSOLE_ERROR);
        return;
    }
    int id = idText.toInt();
    for (ObjectEntry* entry = objectList; entry; entry = entry->next) {
        if (entry->id != id) continue;
        entry->visible = valueText.toInt() != 0;
        Orvex_string reply;
        reply = "[Object] id: ";
        reply += entry->id;
        reply += "  visible(changed): ";
        reply += entry->visible ? 1 : 0;
        console->AddMessage(reply, CONSOLE_SYSTEM);
        return;
    }
}

void Orvex_Object_Manager::Report(Orvex_string text, int category)
{
    console->AddMessage(text, (short)category);
}
