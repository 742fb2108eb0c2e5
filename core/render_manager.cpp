#include "core/render_manager.h"

#include "console/console.h"
#include "core/default_textures.h"

namespace {

struct OverlayFont {
    ID3DXFont* Orvex_Render_Manager::*field;
    const char* face;
    int points;  // scaled by dpi when not zero
    int cellHeight;
    UINT weight;
    const char* failed;
};

const OverlayFont kFonts[] = {
    {&Orvex_Render_Manager::Font8Verdana, "Verdana", 8, 0, 700, "failed: CreateFont Font8Verdana"},
    {&Orvex_Render_Manager::Font16Verdana, "Verdana", 16, 0, 700,
     "failed: CreateFont Font16Verdana"},
    {&Orvex_Render_Manager::Font6Kartika, "Kartika", 0, 14, 400, "failed: CreateFont Font6Kartika"},
};

}  // namespace

Orvex_Render_Manager::Orvex_Render_Manager(IDirect3DDevice9* device,
                                           Orvex_Camera_Manager* cameraManager,
                                           Orvex_Object_Manager* objectManager, Console* console,
                                           Orvex_Light_Manager* lightManager)
    : device(device),
      errorCount(0),
      cameraManager(cameraManager),
      objectManager(objectManager),
      console(console),
      lightManager(lightManager),
      backRendererColor(0),
      Font8Verdana(NULL),
      Font16Verdana(NULL),
      Font6Kartika(NULL),
      redTexture(NULL),
      whiteTexture(NULL),
      blueTexture(NULL),
      yellowTexture(NULL),
      phongEffect(NULL),
      captureResult(S_OK)
{
}

Orvex_Render_Manager::~Orvex_Render_Manager() {}

void Orvex_Render_Manager::Initialize()
{
    errorCount = 0;
    IDirect3DTexture9*** const textures[kDefaultTextureCount] = {&whiteTexture, &redTexture, &blueTexture,
                                                                 &yellowTexture};
    errorCount += LoadDefaultTextures(device, console, textures, kDefaultTextureCount);

    CreateFonts();

    if (FAILED(D3DXCreateEffectFromFileA(device, "fx\\vor_Phong.fx", NULL, NULL, 0, NULL,
                                         &phongEffect, NULL))) {
        phongEffect = NULL;
        ++errorCount;
        console->AddMessage("missed:  fx\\vor_Phong.fx", CONSOLE_ERROR);
    }

    Orvex_string summary;
    summary = "Rendering manager inicialized with ";
    summary += errorCount;
    summary += " errors.";
    console->AddMessage(summary, CONSOLE_COMMENT);
}

void Orvex_Render_Manager::CreateFonts()
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);

    for (const OverlayFont& font : kFonts) {
        INT height = font.points ? -MulDiv(font.points, dpi, 72) : font.cellHeight;
        ID3DXFont** field = &(this->*font.field);
        if (FAILED(D3DXCreateFontA(device, height, 0, font.weight, 0, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, font.face, field))) {
            *field = NULL;
            ++errorCount;
            console->AddMessage(font.failed, CONSOLE_ERROR);
        }
    }
}
