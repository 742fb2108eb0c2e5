#pragma once
// The engine object: owns the Direct3D object and device, the render settings and every manager.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "foundation/dynamic_row.h"

#include <string>
#include <vector>

class Console;
class TimeLine;
class Orvex_Camera_Manager;
class Orvex_Object_Manager;
class Orvex_Render_Manager;
class Orvex_Light_Manager;
class Orvex_Effect_Manager;

// One instance in static storage (`engine`), all zero before WinMain runs. WinMain drives it:
// ReadRenderSettings, InitDevice, Initialize; the window procedure calls Shutdown at WM_DESTROY
// and the destructor calls it again at process end, so LOG.dr is written twice on a normal run.
// Managers, textures, the device and the Direct3D object are never released: the process end
// reclaims them.
class Orvex {
public:
    virtual ~Orvex();

    // Defaults first (no multisampling, solid fill, clear colour 0xFF6482AA, no antialiasing),
    // then "BACK_RENDERER_COLOR", "MULTISAMPLE_TYPE", "MULTISAMPLEANTIALIAS" and "FILLMODE"
    // from settings when present with the expected number of values. settings may be null.
    void ReadRenderSettings(DynamicRow* settings);

    // Creates the Direct3D object and a windowed device on window with the render settings and
    // sets the initial render and sampler states. 0 on success, E_FAIL otherwise (no message:
    // the console does not exist yet).
    HRESULT InitDevice(HWND window);

    // Creates the console and the managers in their fixed order, wires them, initialises the
    // render manager, loads the level "POLYGON01" manager by manager and the default textures.
    // Reports through the console; always completes.
    void Initialize();
    // The same with model files to open: none gives the level "POLYGON01" as above; otherwise
    // the model-view level is loaded instead (Orvex_Object_Manager::LoadModels, then lights,
    // cameras and effects framed on the models by AddModelViewLevel).
    void Initialize(const std::vector<std::string>& models);

    // Saves the console's log to "LOG.dr"; nothing without a console.
    void Shutdown();

    IDirect3D9* direct3D;
    IDirect3DDevice9* device;
    IDirect3DDevice9** deviceSlot;
    D3DXMATRIX baseWorld;
    Orvex_Camera_Manager* cameraManager;
    Orvex_Object_Manager* objectManager;
    Console* console;
    TimeLine* timeLine;
    Orvex_Render_Manager* renderManager;
    Orvex_Light_Manager* lightManager;
    Orvex_Effect_Manager* effectManager;
    D3DCOLOR backRendererColor;
    WORD multisampleType;
    WORD fillMode;
    bool multisampleAntialias;
    IDirect3DTexture9** redTexture;
    IDirect3DTexture9** whiteTexture;
    IDirect3DTexture9** blueTexture;

private:
    void LoadLevel();
    void LoadModelView(const std::vector<std::string>& models);
};

extern Orvex engine;
