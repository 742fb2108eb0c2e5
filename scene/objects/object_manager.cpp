#include "scene/objects/object_manager.h"

#include <cassert>

#include "console/console.h"
#include "scene/cameras/level_file.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_resources.h"
#include "scene/objects/static_cobject.h"

namespace {

// The name of the first value of key under entry; empty when the key or its value is missing.
Orvex_string FirstValue(const DynamicRow& level, unsigned entry, const char* key)
{
    Orvex_string value;
    unsigned k = level.iLookInFor(entry, key);
    unsigned first = k > 0 ? level.TopId(k) : 0;
    if (first > 0) value = level.iLookName(first);
    return value;
}

// Three values of key under entry; those that are missing count as 0.
void ReadTriple(DynamicRow& level, unsigned entry, const char* key, float out[3])
{
    out[0] = out[1] = out[2] = 0.0f;
    unsigned k = level.iLookInFor(entry, key);
    if (k > 0) ReadLevelFloats(&level, k, out, 3);
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
    unsigned section = level.iLookId("_OBJECTS_");
    int count = section > 0 ? CountLevelChildren(&level, section) : 0;
    unsigned entry = count > 0 ? level.TopId(section) : 0;
    for (int i = 0; i < count && entry > 0; ++i, entry = level.NextId(entry)) {
        Orvex_string type = FirstValue(level, entry, "_OBJECT_TYPE_");
        Orvex_string path = FirstValue(level, entry, "_OBJECT_PATH_");
        float position[3], rotation[3];
        ReadTriple(level, entry, "_POSITION_", position);
        ReadTriple(level, entry, "_ROTATION_", rotation);
        if (type == "_OBJECT_SIMPLE_") AddObject(path, position, rotation);
    }
    setupResources = NULL;

    Orvex_string summary;
    summary = "Object Manager setup completed with ";
    summary += errorCount;
    summary += " errors and ";
    summary += objectCount;
    summary += " objects.";
    console->AddMessage(summary, CONSOLE_COMMENT);
    return true;
}

int Orvex_Object_Manager::AddObject(Orvex_string objectFile, const float position[3],
                                    const float rotation[3])
{
    ++objectCount;
    ++shownObjectCount;
    Orvex_string message;
    message = "[O.F.] ";
    message += objectFile;
    console->AddMessage(message, CONSOLE_TEXT);

    Static_CObject* object = new Static_CObject(baseWorld, objectFile.getChars(), deviceSlot,
                                                effectManager, lightManager, console);
    object->resources = setupResources;
    for (int axis = 0; axis < 3; ++axis) {
        object->position[axis] = position[axis];
        object->rotation[axis] = rotation[axis];
    }
    const bool loaded = object->Load();
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
    entry->file = objectFile;
    entry->visible = true;
    AppendEntry(&objectList, &lastEntry, entry);
    return entry->id;
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
