#include "scene/objects/object_manager.h"

#include "console/console.h"

Orvex_Object_Manager::Orvex_Object_Manager(D3DXMATRIX* baseWorld, IDirect3DDevice9** deviceSlot,
                                           Console* console, Orvex_Effect_Manager* effectManager,
                                           Orvex_Light_Manager* lightManager)
    : objectCount(0),
      shownObjectCount(0),
      objectList(NULL),
      baseWorld(baseWorld),
      deviceSlot(deviceSlot),
      errorCount(0),
      console(console),
      effectManager(effectManager),
      lightManager(lightManager)
{
}

Orvex_Object_Manager::~Orvex_Object_Manager() {}

bool Orvex_Object_Manager::LoadLevel(const char* levelFile)
{
    errorCount = 0;
    DynamicRow level;
    level.fresh();
    level.iLoadFromFile(levelFile);
    SetupObjects(level);
    return true;
}

bool Orvex_Object_Manager::SetupObjects(DynamicRow&)
{
    errorCount = 0;
    Orvex_string summary;
    summary = "Object Manager setup completed with ";
    summary += errorCount;
    summary += " errors and ";
    summary += objectCount;
    summary += " objects.";
    console->AddMessage(summary, 2);
    return true;
}

void Orvex_Object_Manager::DrawObjects() {}

void Orvex_Object_Manager::ExecuteCommand(Orvex_string line)
{
    Orvex_string word;
    Orvex_string rest;
    line.DivideTwoParameters(word, rest);
    if (word == "show.list") {
        for (ObjectEntry* entry = objectList; entry; entry = entry->next) {
            Orvex_string text;
            text = "id:";
            text += entry->id;
            text += "  visible:";
            text += entry->visible ? 1 : 0;
            text += "  file:";
            text += entry->file;
            console->AddMessage(text, 3);
        }
    }
}

void Orvex_Object_Manager::Report(Orvex_string text, int category)
{
    console->AddMessage(text, (short)category);
}
