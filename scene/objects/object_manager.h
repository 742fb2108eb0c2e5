#pragma once
// The scene objects of the running level: loading them from the level file, drawing the visible
// ones once per light, and the object commands of the console.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <string>
#include <vector>

#include "console/console_command.h"
#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

#include <string>
#include <vector>

class Console;
class Object_Resources;
class Orvex_Camera_Manager;
class Static_CObject;
class Object_Super;
class Orvex_Effect_Manager;
class Orvex_Light_Manager;

struct ObjectEntry {
    int id;                   // 1, 2, 3 ... in order of successful additions
    Object_Super* object;     // owned
    Orvex_string file;        // the object file path exactly as given
    bool visible;             // only visible objects are drawn
    ObjectEntry* next;
    ObjectEntry* previous;
};

class Orvex_Object_Manager {
public:
    // Empty. baseWorld (the engine's identity) is copied into every new object as its starting
    // world matrix; deviceSlot, the managers and the console are handed to every object and
    // must outlive the manager.
    Orvex_Object_Manager(D3DXMATRIX* baseWorld, IDirect3DDevice9** deviceSlot, Console* console,
                         Orvex_Effect_Manager* effectManager, Orvex_Light_Manager* lightManager);
    // Destroys every object.
    virtual ~Orvex_Object_Manager();

    // Reads the level file named exactly levelFile into a fresh tree and sets its objects up.
    // A missing file is a level without objects. Always true.
    bool LoadLevel(const char* levelFile);
    // Adds every "_OBJECT_SIMPLE_" entry under "_OBJECTS_" with its "_OBJECT_PATH_",
    // "_POSITION_" and "_ROTATION_" (a missing or short key counts as 0); entries of any other
    // type are skipped silently. Ends with "Object Manager setup completed with E errors and
    // N objects." (_COMMENT_), E counting the objects that failed since this setup began.
    // Objects of one setup that name the same mesh or texture file share one loaded copy.
    // Always true.
    bool SetupObjects(DynamicRow& level);
    // Creates, places and loads one object ("[O.F.] <file>", _TEXT_, first). Answers its id,
    // or 0 when it failed to load: then it is counted in errorCount and uses up no id.
    int AddObject(Orvex_string objectFile, const float position[3], const float rotation[3]);

    // Opens a model file (any format D3DXLoadMeshFromXA reads) as an object of its own: a
    // generated object file names it under "_MODEL_FILE_" with "_FX_ { phong }", and it goes the
    // way of AddObject ("[O.F.] <path>" first). A model whose mesh does not load ("[M.F] cannot
    // find: <path>") is no object: it is counted in errorCount and uses up no id. Answers the
    // object, or null.
    Static_CObject* AddModel(const std::string& modelFile);
    // A model opened while the viewer runs (a console command, a dropped file): placed in front
    // of the active camera and scaled to sit in view (at the origin, unscaled, without a
    // camera). Answers its id, or 0.
    int LoadModel(const std::string& modelFile);
    // The model-view level's objects: every model that opens, scaled to the same size and set
    // side by side along X on the ground at the origin, then a floor (meshes\floor.x) sized to
    // them. Ends with the setup summary of SetupObjects. Writes the box about the models (world
    // units) to low and high and answers how many models opened.
    int LoadModels(const std::vector<std::string>& modelFiles, D3DXVECTOR3* low, D3DXVECTOR3* high);

    // Draws every visible object for light 1, then all of them for light 2, and so on, in the
    // order they were added. Nothing at all without lights. Called inside the frame's scene.
    void DrawObjects();

    // One object command, the text after the manager's name on a console line:
    //   load.OBJECT_SIMPLE <path>   adds the object at the origin, unturned
    //   load.MODEL <path>           LoadModel with the whole rest of the line (blanks at its
    //                               ends and quotes around it dropped)
    //   show.list                   "id:N  visible:0|1  file:<path>" per object (_SYSTEM_)
    //   object.visible <id> <v>     shows (v != 0) or hides the object and replies
    //                               "[Object] id: N  visible(changed): 0|1" (_SYSTEM_); an id no
    //                               object has changes nothing; a missing part gets
    //                               "What are you mean?)" (_ERROR_)
    // Any other word does nothing.
    void ExecuteCommand(Orvex_string line);
    // The command words ExecuteCommand knows, in the order of its table; the console's
    // completion offers them after "obj_mngr" and "object_manager".
    static std::vector<std::string> CommandWords();
    // Passes text and category to the console unchanged (the dispatcher's echo).
    void Report(Orvex_string text, int category);

    int objectCount;         // objects in the list; the id of the newest
    int shownObjectCount;    // always equal to objectCount; the overlay reads this one
    ObjectEntry* objectList;
    D3DXMATRIX* baseWorld;
    IDirect3DDevice9** deviceSlot;
    int errorCount;
    Console* console;
    Orvex_Effect_Manager* effectManager;
    Orvex_Light_Manager* lightManager;
    // Handed to every object added from now on as its plainTexture (the engine gives the
    // render manager's white default texture); null as constructed.
    IDirect3DTexture9** plainTexture;
    // Where LoadModel finds the active camera; null (as constructed) until the engine sets it.
    Orvex_Camera_Manager* cameraManager;

private:
    // The object commands: a new one is one more row of this table (object_manager.cpp).
    static const ConsoleCommand<Orvex_Object_Manager> commands[];

    int Adopt(Static_CObject* object, const Orvex_string& file, bool needsMesh);
    // "Object Manager setup completed with E errors and N objects." (_COMMENT_)
    void ReportSetup();
    void ShowList();
    void SetVisible(const Orvex_string& arguments);

    ObjectEntry* lastEntry;   // the list's tail, so that adding stays constant-time
    Object_Resources* setupResources;   // during SetupObjects only: what its objects share

    Orvex_Object_Manager(const Orvex_Object_Manager&) = delete;
    Orvex_Object_Manager& operator=(const Orvex_Object_Manager&) = delete;
};
