#pragma once
// The object manager: the scene objects of the running level.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

class Console;
class Object_Super;
class Orvex_Effect_Manager;
class Orvex_Light_Manager;

struct ObjectEntry {
    int id;
    Object_Super* object;
    Orvex_string file;
    bool visible;
    ObjectEntry* next;
    ObjectEntry* previous;
};

// Stand-in until the scene objects land: reads the level and reports its summary, keeps an
// empty list, answers the list commands over it and draws nothing.
class Orvex_Object_Manager {
public:
    Orvex_Object_Manager(D3DXMATRIX* baseWorld, IDirect3DDevice9** deviceSlot, Console* console,
                         Orvex_Effect_Manager* effectManager, Orvex_Light_Manager* lightManager);
    virtual ~Orvex_Object_Manager();

    bool LoadLevel(const char* levelFile);
    bool SetupObjects(DynamicRow& level);
    void DrawObjects();
    void ExecuteCommand(Orvex_string line);
    void Report(Orvex_string text, int category);

    int objectCount;
    int shownObjectCount;
    ObjectEntry* objectList;
    D3DXMATRIX* baseWorld;
    IDirect3DDevice9** deviceSlot;
    int errorCount;
    Console* console;
    Orvex_Effect_Manager* effectManager;
    Orvex_Light_Manager* lightManager;
};
