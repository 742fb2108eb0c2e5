#pragma once
// Pictures of the frame: the back buffer saved through GetBackBuffer and D3DXSaveSurfaceToFileA.
#include <windows.h>
#include <d3d9.h>

#include <string>

// Saves what the device's back buffer holds now (call it between EndScene and Present): a BMP
// file when path ends in ".bmp" (any case), a PNG file otherwise. What GetBackBuffer or
// D3DXSaveSurfaceToFileA answered.
HRESULT SaveBackBuffer(IDirect3DDevice9* device, const char* path);

// A name for the next F12 picture that no file has yet: "screenshots/orvex-YYYYMMDD-HHMMSS.png"
// at the local time, with "-2", "-3", ... before ".png" when that is taken. Makes the folder
// "screenshots" in the working folder when it is missing.
std::string NextScreenshotName();
