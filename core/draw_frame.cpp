// The frame: Orvex_Render_Manager's DrawFrame and its overlay.
#include "core/render_manager.h"

#include <limits.h>
#include <math.h>

#include "console/console.h"
#include "core/screenshot.h"
#include "scene/cameras/camera_manager.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_manager.h"

namespace {

// Overlay captions in code page 1251: "Текушая камера : ", "Число объектов : ",
// "Камера в : Position ".
const char kCameraCaption[] = "\xD2\xE5\xEA\xF3\xF8\xE0\xFF\x20\xEA\xE0\xEC\xE5\xF0\xE0\x20\x3A\x20";
const char kObjectsCaption[] = "\xD7\xE8\xF1\xEB\xEE\x20\xEE\xE1\xFA\xE5\xEA\xF2\xEE\xE2\x20\x3A\x20";
const char kPositionCaption[] = "\xCA\xE0\xEC\xE5\xF0\xE0\x20\xE2\x20\x3A\x20Position ";
const char kRotationCaption[] = "  Rotation ";
const char kFpsCaption[] = " fps";

// Truncation toward zero; values an int cannot hold (a camera flown far away, a level file with
// 1e30 in it, NaN) are held to the int range instead of being undefined.
int TruncateToInt(float value)
{
    if (isnan(value))
        return 0;
    if (value >= 2147483647.0f)
        return INT_MAX;
    if (value <= -2147483648.0f)
        return INT_MIN;
    return (int)value;
}

void AppendVector(Orvex_string& text, const D3DXVECTOR3& v)
{
    text += TruncateToInt(v.x);
    text += " ";
    text += TruncateToInt(v.y);
    text += " ";
    text += TruncateToInt(v.z);
}

IDirect3DTexture9* HeldTexture(IDirect3DTexture9** holder)
{
    return holder ? *holder : NULL;
}

}  // namespace

void Orvex_Render_Manager::DrawOverlayText(Orvex_string text, int x, int y)
{
    if (!Font8Verdana)
        return;
    RECT rect = {x, y, 0, 0};
    Font8Verdana->DrawTextA(NULL, text.getChars(), -1, &rect, DT_NOCLIP, 0xFFFFFFFF);
}

void Orvex_Render_Manager::DrawFrame(float fps)
{
    device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, backRendererColor, 1.0f, 0);
    if (SUCCEEDED(device->BeginScene())) {
        device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
        if (console->visible)
            DrawShownConsoleLook(TruncateToInt(fps));
        else
            DrawHiddenConsoleLook(TruncateToInt(fps));
        device->EndScene();
    }
    if (!captureFile.empty())
        Capture();
    device->Present(NULL, NULL, NULL, NULL);
}

void Orvex_Render_Manager::Capture()
{
    captureResult = SaveBackBuffer(device, captureFile.c_str());
    Orvex_string text;
    text = SUCCEEDED(captureResult) ? "[i] Screenshot saved: " : "[!] Screenshot not saved: ";
    text += captureFile.c_str();
    console->AddMessage(text, SUCCEEDED(captureResult) ? CONSOLE_COMMENT : CONSOLE_ERROR);
    captureFile.clear();
}

void Orvex_Render_Manager::SetFpsText(int fps)
{
    overlayText = fps;
    overlayText += kFpsCaption;
}

void Orvex_Render_Manager::DrawHiddenConsoleLook(int fps)
{
    CameraEntry* active = cameraManager->activeCamera;

    if (active) {
        overlayText = kCameraCaption;
        overlayText += active->id;
        DrawOverlayText(overlayText, 5, 5);
    }

    overlayText = kObjectsCaption;
    overlayText += objectManager->shownObjectCount;
    DrawOverlayText(overlayText, 5, 15);

    if (active) {
        overlayText = kPositionCaption;
        AppendVector(overlayText, active->camera->position);
        overlayText += kRotationCaption;
        AppendVector(overlayText, active->camera->lookAt);
        DrawOverlayText(overlayText, 5, 25);
    }

    SetFpsText(fps);
    DrawOverlayText(overlayText, 5, 45);

    objectManager->DrawObjects();
    if (active)
        active->camera->Apply(&device);
    console->Draw();
}

void Orvex_Render_Manager::DrawShownConsoleLook(int fps)
{
    SetFpsText(fps);
    DrawOverlayText(overlayText, 9, 2);

    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    objectManager->DrawObjects();

    device->SetTexture(0, HeldTexture(whiteTexture));
    cameraManager->DrawMarkers(&device);
    device->SetTexture(0, HeldTexture(redTexture));
    lightManager->DrawMarkers(&device, whiteTexture, yellowTexture);

    CameraEntry* active = cameraManager->activeCamera;
    if (active)
        active->camera->Apply(&device);
    console->Draw();
}
