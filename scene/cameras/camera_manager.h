#pragma once
// The level's cameras: loading, the active one, keyboard and mouse control, camera commands and
// the markers of the inactive cameras.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <string>
#include <vector>

#include "console/console_command.h"
#include "core/timer.h"
#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"
#include "scene/cameras/camera.h"

class Console;

struct CameraEntry {
    int id;                 // 1 for the first camera added, never reused
    Orvex_Camera* camera;   // owned
    CameraEntry* next;
    CameraEntry* previous;
};

class Orvex_Camera_Manager {
public:
    // Empty list, no active camera, switchTimer started. The console must outlive the manager.
    explicit Orvex_Camera_Manager(Console* console);
    virtual ~Orvex_Camera_Manager();

    // Reads the level file named exactly levelName into a fresh tree (a missing file gives no
    // cameras) and sets the cameras up. Always true.
    bool LoadLevel(const char* levelName);
    // Adds every camera named under "_CAMERAS_", in file order, then makes camera 1 active.
    void SetupCameras(DynamicRow* tree);
    // Creates and loads one camera (a missing knot gives the defaults), reports
    // "[+] Camera:  <name>" and appends it; a camera that cannot be moved (no knot, or no level
    // part in its view direction) is named in one more line, category 1. Returns its id.
    int AddCamera(Orvex_string name, DynamicRow* tree, bool makeActive);
    // Makes the camera with that id active; false, and nothing changes, when there is none.
    bool SetActiveCamera(int id);
    // Makes the next camera active (after the last comes the first), at most once per 360 ms.
    void NextCamera();
    // Sets the markers' material and draws every camera but the active one. The frame drawing
    // calls it while the console is shown, after setting the marker texture.
    void DrawMarkers(IDirect3DDevice9** device);

    // Once per frame from the main loop with the frame's elapsed milliseconds. While the console
    // is shown it only polls the console. Otherwise: arrows or W A S D walk, left shift flies,
    // TAB switches camera, the console key opens the console. Allocates nothing.
    void HandleKeyboard(float elapsed);
    // Once per frame right after HandleKeyboard. While the console is shown the cursor goes to
    // the console and nothing here changes; otherwise a drag with the left button turns the
    // active camera about its right vector and the world up axis, one degree per three pixels.
    // Allocates nothing.
    void HandleMouse(HWND window, bool leftButtonDown);
    // One camera command line without the manager's name: "camera.set N" ("Camera.Set N"),
    // "camera.next", "camera.speed X". Replies in the console's _SYSTEM_ category.
    void ExecuteCommand(Orvex_string text);
    // The command words ExecuteCommand knows, in the order of its table; the console's
    // completion offers them after "cam_mngr" and "camera_manager".
    static std::vector<std::string> CommandWords();

    int cameraCount;
    CameraEntry* activeCamera;   // null until a camera exists; with no camera the per-frame
                                 // movement and the commands do nothing
    CameraEntry* cameraList;
    D3DMATERIAL9 material;
    Console* console;
    Timer switchTimer;
    float mouseX;
    float mouseY;
    float lastMouseX;
    float lastMouseY;

private:
    void ReportStuckCamera(const Orvex_Camera& camera, bool described);
    static const ConsoleCommand<Orvex_Camera_Manager> commands[];

    CameraEntry* lastEntry;   // the list's tail, so that adding stays constant-time
    bool mouseSeen;           // HandleMouse has read the cursor at least once
};
