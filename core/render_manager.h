#pragma once
// The render manager: what one frame needs beyond the scene (clear colour, overlay fonts,
// default textures, the overlay text) and the frame itself.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "foundation/orvex_string.h"

#include <string>

class Console;
class Orvex_Camera_Manager;
class Orvex_Object_Manager;
class Orvex_Light_Manager;

// Created by the engine after every other manager; the engine copies the clear colour into it
// after Initialize. It holds the device and the managers without owning them, and releases no
// Direct3D resource: the process end reclaims them.
class Orvex_Render_Manager {
public:
    Orvex_Render_Manager(IDirect3DDevice9* device, Orvex_Camera_Manager* cameraManager,
                         Orvex_Object_Manager* objectManager, Console* console,
                         Orvex_Light_Manager* lightManager);
    virtual ~Orvex_Render_Manager();

    // Loads the four default textures, the three fonts and "fx\vor_Phong.fx"; every failure is
    // logged as an error and counted in errorCount, then the summary
    // "Rendering manager inicialized with N errors." is logged. Called once by the engine.
    void Initialize();
    // The fonts, the Verdana heights scaled to the screen's vertical dpi. Called by Initialize.
    void CreateFonts();

    // One frame: clear, overlay, objects, the active camera's transforms, the console, present.
    // With the console hidden, four overlay lines and a solid scene; with it shown, the fps line,
    // a wireframe scene and the camera and light markers. Present runs whatever happened.
    // A level without cameras draws no camera line, no position line and applies no camera.
    void DrawFrame(float fps);
    // One overlay line in opaque white at (x, y); nothing without the overlay font.
    void DrawOverlayText(Orvex_string text, int x, int y);

    IDirect3DDevice9* device;
    int errorCount;
    Orvex_Camera_Manager* cameraManager;
    Orvex_Object_Manager* objectManager;
    Console* console;
    Orvex_Light_Manager* lightManager;
    D3DCOLOR backRendererColor;
    ID3DXFont* Font8Verdana;
    ID3DXFont* Font16Verdana;
    ID3DXFont* Font6Kartika;
    IDirect3DTexture9** redTexture;
    IDirect3DTexture9** whiteTexture;
    IDirect3DTexture9** blueTexture;
    IDirect3DTexture9** yellowTexture;
    ID3DXEffect* phongEffect;
    Orvex_string overlayText;
    // A file name set here has the next frame saved to it (SaveBackBuffer) between EndScene and
    // Present, then is emptied; the console gets "[i] Screenshot saved: <name>" (_COMMENT_) or
    // "[!] Screenshot not saved: <name>" (_ERROR_), and captureResult what the saving answered.
    std::string captureFile;
    HRESULT captureResult;

private:
    void DrawHiddenConsoleLook(int fps);
    void DrawShownConsoleLook(int fps);
    void SetFpsText(int fps);
    void Capture();
};
