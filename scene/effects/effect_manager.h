#pragma once
// The level's shader effects, compiled and kept under the names the level gives them, and the
// look-up by name with which objects get an effect and the active camera's transforms.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "core/timer.h"
#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"
#include "scene/effects/effect_file_stamp.h"

class Console;
class Orvex_Camera_Manager;

struct EffectEntry {
    int id;                    // effectCount when it was added: failed effects use up ids
    Orvex_string name;         // the name objects ask for
    ID3DXEffect* effect;       // owned
    DynamicRow* parameters;    // owned; the effect's parameter file, empty for "none"
    Orvex_string file;         // the effect file as the level names it
    EffectFileStamp stamp;     // the file's time and size when it was last compiled or tried
    EffectEntry* next;
    EffectEntry* previous;
};

class Orvex_Effect_Manager {
public:
    // Effects are compiled for device. The console and camera manager must outlive the manager.
    Orvex_Effect_Manager(IDirect3DDevice9* device, Console* console,
                         Orvex_Camera_Manager* cameraManager);
    virtual ~Orvex_Effect_Manager();

    // Reads the level file named exactly levelName into a fresh tree, sets the effects up and
    // reports "Effect Manager setup completed with N Effects." (_COMMENT_), N counting failed
    // effects too. Always true.
    bool LoadLevel(const char* levelName);
    // Adds every effect named under "_EFFECTS_", in file order.
    void SetupEffects(DynamicRow* tree);
    // Counts the effect, then compiles the file named by its "_FILE_FX_" key. On failure the
    // console gets the path itself (_ERROR_; the effect's name when it has no "_FILE_FX_"),
    // then the first lines of the compiler's message (_ERROR_), and the result is 0. Otherwise
    // loads the parameter file of "_FILE_" ("none", or no key, for none), reports
    // "[+] Effect:  <name>", appends the entry and returns its id.
    int AddEffect(Orvex_string name, DynamicRow* tree);
    // Gives the entry a fresh parameter tree, loaded from file unless file is exactly "none".
    void LoadParameters(Orvex_string file, EffectEntry* entry);
    // The first effect of that name (exact), or null. Copies the active camera's view and
    // projection into view and projection and sets "View_Pos" (its position, w = 1) on every
    // effect it passes up to and including the match, on all of them when there is none.
    // With no active camera it hands out identity matrices and the origin.
    ID3DXEffect* FindEffect(Orvex_string name, D3DXMATRIX* view, D3DXMATRIX* projection);
    // Called by the main loop before every frame; once a second (reloadTimer) it compares each
    // effect's file with the time and size it was compiled from. A changed file is compiled
    // again: on success the new effect replaces the old one for the frame about to be drawn,
    // with "[~] Effect reloaded:  <name>" (_COMMENT_); on failure the old one stays and the
    // console gets "[!] Effect kept, its file does not compile: <path>" and the compiler's
    // first lines (_ERROR_). Parameter files and textures are not read again.
    void ReloadChangedEffects();

    IDirect3DDevice9* device;
    int effectCount;
    EffectEntry* effectList;
    Console* console;
    Orvex_Camera_Manager* cameraManager;
    Timer reloadTimer;

private:
    // Compiles the effect file at path for device; null when it does not compile, and then
    // *errors holds the compiler's message (or null when it gave none), for the caller to
    // hand to ReportFailure.
    ID3DXEffect* Compile(const Orvex_string& path, ID3DXBuffer** errors);
    // headline, then the first lines of the compiler's message, each an _ERROR_ line; releases
    // errors.
    void ReportFailure(const Orvex_string& headline, ID3DXBuffer* errors);

    EffectEntry* lastEntry;   // the list's tail, so that adding stays constant-time
};
