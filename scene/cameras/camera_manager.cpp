#include "scene/cameras/camera_manager.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "console/console.h"
#include "console/input_line.h"
#include "core/draw_lines.h"
#include "scene/level_file.h"

namespace {

const float kDegreesPerPixel = 1.0f / 3.0f;
const float kRadiansPerDegree = 0.0174532924f;

bool IsFinite(const D3DXVECTOR3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Moves both points of the camera by speed * step. A move that would leave the float range is
// dropped, so that a NaN never reaches the view matrix.
void MoveCamera(Orvex_Camera* camera, const D3DXVECTOR3& step) {
    D3DXVECTOR3 delta = step * camera->moveSpeed;
    D3DXVECTOR3 position = camera->position + delta;
    D3DXVECTOR3 lookAt = camera->lookAt + delta;
    if (!IsFinite(position) || !IsFinite(lookAt)) return;
    camera->position = position;
    camera->lookAt = lookAt;
}

// Turns the look-at point about the eye by angle radians around axis.
void TurnCamera(Orvex_Camera* camera, const D3DXVECTOR3& axis, float angle) {
    D3DXMATRIX rotation;
    D3DXMatrixRotationAxis(&rotation, &axis, angle);
    D3DXVECTOR3 view = camera->lookAt - camera->position;
    D3DXVec3TransformCoord(&view, &view, &rotation);
    D3DXVECTOR3 lookAt = camera->position + view;
    if (IsFinite(lookAt)) camera->lookAt = lookAt;
}

}  // namespace

Orvex_Camera_Manager::Orvex_Camera_Manager(Console* console_)
    : cameraCount(0),
      activeCamera(nullptr),
      cameraList(nullptr),
      console(console_),
      mouseX(0.0f),
      mouseY(0.0f),
      lastMouseX(0.0f),
      lastMouseY(0.0f),
      lastEntry(nullptr),
      mouseSeen(false) {
    assert(console);
    std::memset(&material, 0, sizeof(material));
    switchTimer.Start();
}

Orvex_Camera_Manager::~Orvex_Camera_Manager() {
    FreeEntries(cameraList, [](CameraEntry* entry) { delete entry->camera; });
}

bool Orvex_Camera_Manager::LoadLevel(const char* levelName) {
    assert(levelName);
    DynamicRow tree;
    LoadLevelTree(levelName, &tree);
    SetupCameras(&tree);
    return true;
}

void Orvex_Camera_Manager::SetupCameras(DynamicRow* tree) {
    const D3DCOLORVALUE white = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Ambient = white;
    material.Emissive = white;

    ForEachListed(tree, "_CAMERAS_",
                  [this, tree](const Orvex_string& name) { AddCamera(name, tree, false); });

    SetActiveCamera(1);
}

int Orvex_Camera_Manager::AddCamera(Orvex_string name, DynamicRow* tree, bool makeActive) {
    ++cameraCount;
    Orvex_Camera* camera = new Orvex_Camera;
    const bool described = camera->LoadFromTree(name, tree);

    Orvex_string report;
    report = "[+] Camera:  ";
    report += name;
    console->AddMessage(report, CONSOLE_TEXT);
    ReportStuckCamera(*camera, described);

    CameraEntry* entry = new CameraEntry{cameraCount, camera, nullptr, nullptr};
    if (makeActive) activeCamera = entry;
    AppendEntry(&cameraList, &lastEntry, entry);
    return entry->id;
}

// Walking and turning work on the view direction's level part: a camera with none (its knot
// missing, or standing on or straight above or below its look-at point) keeps its place, so the
// level's author is told which one it is.
void Orvex_Camera_Manager::ReportStuckCamera(const Orvex_Camera& camera, bool described) {
    const D3DXVECTOR3 view = camera.lookAt - camera.position;
    if (described && (view.x != 0.0f || view.z != 0.0f)) return;
    Orvex_string report;
    report = "[!] Camera ";
    report += camera.name;
    report += described ? ": looks straight up, down or at itself; it cannot move"
                        : ": no knot in the level; default view, it cannot move";
    console->AddMessage(report, CONSOLE_ERROR);
}

bool Orvex_Camera_Manager::SetActiveCamera(int id) {
    for (CameraEntry* entry = cameraList; entry; entry = entry->next) {
        if (entry->id == id) {
            activeCamera = entry;
            return true;
        }
    }
    return false;
}

void Orvex_Camera_Manager::NextCamera() {
    if (switchTimer.Elapsed() / 60 <= 5) return;
    switchTimer.Start();
    if (activeCamera && activeCamera->id < cameraCount)
        SetActiveCamera(activeCamera->id + 1);
    else
        SetActiveCamera(1);
}

void Orvex_Camera_Manager::DrawMarkers(IDirect3DDevice9** device) {
    if (!device || !*device) return;
    (*device)->SetMaterial(&material);
    (*device)->SetFVF(MARKER_LINE_FVF);
    for (CameraEntry* entry = cameraList; entry; entry = entry->next)
        if (entry != activeCamera) entry->camera->DrawMarker(device);
}

void Orvex_Camera_Manager::HandleKeyboard(float elapsed) {
    if (console->visible) {
        console->PollKeyboard();
        return;
    }
    float t = elapsed / 60.0f;
    if (!(t >= 0.05f)) t = 0.05f;

    BYTE keys[256];
    std::memset(keys, 0, sizeof(keys));
    GetKeyboardState(keys);
    auto down = [&keys](int key) { return (keys[key] & 0x80) != 0; };

    D3DXVECTOR3 d(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 s(0.0f, 0.0f, 0.0f);
    if (activeCamera) {
        Orvex_Camera* camera = activeCamera->camera;
        d = camera->lookAt - camera->position;
        D3DXVec3Normalize(&d, &d);
        s = camera->right;
    }
    const D3DXVECTOR3 walk(d.x * t, 0.0f, d.z * t);
    const D3DXVECTOR3 strafe(s.x * t, 0.0f, s.z * t);

    if (activeCamera && (down(VK_UP) || down('W'))) MoveCamera(activeCamera->camera, walk);
    if (activeCamera && (down(VK_DOWN) || down('S'))) MoveCamera(activeCamera->camera, -walk);
    if (activeCamera && (down(VK_LEFT) || down('A'))) MoveCamera(activeCamera->camera, strafe);
    if (activeCamera && (down(VK_RIGHT) || down('D'))) MoveCamera(activeCamera->camera, -strafe);
    if (activeCamera && down(VK_TAB)) NextCamera();
    if (down(VK_OEM_3)) {
        console->ToggleVisible();
        console->toggleTimer.Start();
        console->spareTimer.Start();
        console->inputLine->keyTimer.Start();
    }
    if (activeCamera && down(VK_LSHIFT)) MoveCamera(activeCamera->camera, d * t);
}

void Orvex_Camera_Manager::HandleMouse(HWND window, bool leftButtonDown) {
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    if (console->visible) {
        console->HandleMouse(0, cursor.x, cursor.y);
        return;
    }
    mouseX = static_cast<float>(cursor.x);
    mouseY = static_cast<float>(cursor.y);
    // Before the first reading there is no earlier position to turn from.
    if (leftButtonDown && activeCamera && mouseSeen) {
        Orvex_Camera* camera = activeCamera->camera;
        int dx = static_cast<int>(mouseX - lastMouseX);
        int dy = static_cast<int>(lastMouseY - mouseY);
        if (dy != 0)
            TurnCamera(camera, camera->right,
                       static_cast<float>(dy) * kDegreesPerPixel * kRadiansPerDegree);
        if (dx != 0)
            TurnCamera(camera, D3DXVECTOR3(0.0f, 1.0f, 0.0f),
                       static_cast<float>(dx) * kDegreesPerPixel * kRadiansPerDegree);
    }
    lastMouseX = mouseX;
    lastMouseY = mouseY;
    mouseSeen = true;
}

namespace {

void ReportActiveCamera(Orvex_Camera_Manager& manager) {
    Orvex_string reply;
    reply = "Currient camera was changed to: camera \xB9"
            " ";
    reply += manager.activeCamera->id;
    manager.console->AddMessage(reply, CONSOLE_SYSTEM);
}

}  // namespace

const ConsoleCommand<Orvex_Camera_Manager> Orvex_Camera_Manager::commands[] = {
    {"camera.next", nullptr,
     [](Orvex_Camera_Manager& manager, const Orvex_string&) {
         manager.NextCamera();
         ReportActiveCamera(manager);
     }},
    {"camera.set", "Camera.Set",
     [](Orvex_Camera_Manager& manager, const Orvex_string& argument) {
         manager.SetActiveCamera(argument.toInt());
         ReportActiveCamera(manager);
     }},
    {"camera.speed", nullptr,
     [](Orvex_Camera_Manager& manager, const Orvex_string& argument) {
         float speed = LevelFloat(argument);
         manager.activeCamera->camera->moveSpeed = speed;
         Orvex_string reply;
         reply = "Currient camera speed was changed to: ";
         reply += speed;
         manager.console->AddMessage(reply, CONSOLE_SYSTEM);
     }},
};

void Orvex_Camera_Manager::ExecuteCommand(Orvex_string text) {
    if (!activeCamera) return;
    Orvex_string word;
    Orvex_string argument;
    text.DivideTwoParameters(word, argument);
    RunConsoleCommand(commands, *this, word, argument);
}

std::vector<std::string> Orvex_Camera_Manager::CommandWords() {
    return ConsoleCommandWords(commands);
}
