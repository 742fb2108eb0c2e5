#include "core/orvex.h"

#include "console/console.h"
#include "console/input_line.h"
#include "console/time_line.h"
#include "core/default_textures.h"
#include "core/ini_reader.h"
#include "core/render_manager.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/model_view.h"
#include "scene/objects/object_manager.h"

Orvex engine;

namespace {

const char kLevel[] = "POLYGON01";

}  // namespace

Orvex::~Orvex()
{
    Shutdown();
}

void Orvex::ReadRenderSettings(DynamicRow* settings)
{
    multisampleType = D3DMULTISAMPLE_NONE;
    fillMode = D3DFILL_SOLID;
    backRendererColor = 0xFF6482AA;
    multisampleAntialias = false;
    redTexture = NULL;
    whiteTexture = NULL;
    blueTexture = NULL;
    if (!settings)
        return;

    int values[3];
    if (ReadSettingValues(*settings, "BACK_RENDERER_COLOR", values, 3) == 3) {
        // Colours read from the file carry alpha 0x01; the windowed back buffer ignores it.
        backRendererColor = 0x01000000u + (DWORD)(values[0] & 0xFF) * 65536u +
                            (DWORD)(values[1] & 0xFF) * 256u + (DWORD)(values[2] & 0xFF);
    }
    if (ReadSettingValues(*settings, "MULTISAMPLE_TYPE", values, 1) == 1)
        multisampleType = (WORD)values[0];
    if (ReadSettingValues(*settings, "MULTISAMPLEANTIALIAS", values, 1) == 1 &&
        (values[0] == 0 || values[0] == 1))
        multisampleAntialias = values[0] == 1;
    if (ReadSettingValues(*settings, "FILLMODE", values, 1) == 1 &&
        values[0] >= D3DFILL_POINT && values[0] <= D3DFILL_SOLID)
        fillMode = (WORD)values[0];
}

HRESULT Orvex::InitDevice(HWND window)
{
    direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!direct3D)
        return E_FAIL;

    D3DPRESENT_PARAMETERS params;
    ZeroMemory(&params, sizeof params);
    params.MultiSampleType = (D3DMULTISAMPLE_TYPE)multisampleType;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.Windowed = TRUE;
    params.BackBufferFormat = D3DFMT_UNKNOWN;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

    if (FAILED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device)))
        return E_FAIL;

    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ANTIALIASEDLINEENABLE, TRUE);
    device->SetRenderState(D3DRS_FILLMODE, fillMode);
    device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, multisampleAntialias);
    device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
    // The enumeration's force-dword value, which the device treats as no culling.
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_FORCE_DWORD);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_ANISOTROPIC);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_ANISOTROPIC);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_ANISOTROPIC);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    return 0;
}

void Orvex::Initialize()
{
    Initialize(std::vector<std::string>());
}

void Orvex::Initialize(const std::vector<std::string>& models)
{
    console = new Console(&device);

    deviceSlot = &device;
    D3DXMatrixIdentity(&baseWorld);

    cameraManager = new Orvex_Camera_Manager(console);
    effectManager = new Orvex_Effect_Manager(device, console, cameraManager);
    lightManager = new Orvex_Light_Manager(console);
    objectManager = new Orvex_Object_Manager(&baseWorld, deviceSlot, console, effectManager,
                                             lightManager);
    timeLine = new TimeLine(cameraManager, objectManager);
    renderManager = new Orvex_Render_Manager(device, cameraManager, objectManager, console,
                                             lightManager);

    console->AddMessage("[>>>] Initializing rendering manager : ", CONSOLE_SYSTEM);
    renderManager->Initialize();
    renderManager->backRendererColor = backRendererColor;
    // Subsets without a texture are drawn through their effect with the white default texture.
    objectManager->plainTexture = renderManager->whiteTexture;

    console->commandQueue = &timeLine->queue;
    console->inputLine->commandQueue = &timeLine->queue;

    objectManager->cameraManager = cameraManager;
    if (models.empty())
        LoadLevel();
    else
        LoadModelView(models);

    IDirect3DTexture9*** const textures[] = {&whiteTexture, &redTexture, &blueTexture};
    LoadDefaultTextures(device, console, textures, 3);
}

void Orvex::LoadLevel()
{
    console->AddMessage("[>>>] Loading level : POLYGON01", CONSOLE_SYSTEM);
    console->AddMessage("[>>>] Loading Lights : ", CONSOLE_SYSTEM);
    lightManager->LoadLevel(kLevel);
    console->AddMessage("[i] Light Manager setup completed. ", CONSOLE_COMMENT);
    console->AddMessage("[>>>] Loading Objects : ", CONSOLE_SYSTEM);
    objectManager->LoadLevel(kLevel);
    console->AddMessage("[>>>] Loading cameras : ", CONSOLE_SYSTEM);
    cameraManager->LoadLevel(kLevel);
    console->AddMessage("[i] Camera Manager setup completed. ", CONSOLE_COMMENT);
    console->AddMessage("[>>>] Loading effects : ", CONSOLE_SYSTEM);
    effectManager->LoadLevel(kLevel);
    console->AddMessage("[i] Effect Manager setup completed. ", CONSOLE_COMMENT);
}

void Orvex::LoadModelView(const std::vector<std::string>& models)
{
    console->AddMessage("[>>>] Loading level : model view", CONSOLE_SYSTEM);
    console->AddMessage("[>>>] Loading Objects : ", CONSOLE_SYSTEM);
    D3DXVECTOR3 low, high;
    objectManager->LoadModels(models, &low, &high);

    DynamicRow level;
    AddModelViewLevel(low, high, &level);
    console->AddMessage("[>>>] Loading Lights : ", CONSOLE_SYSTEM);
    lightManager->SetupLights(&level);
    console->AddMessage("[i] Light Manager setup completed. ", CONSOLE_COMMENT);
    console->AddMessage("[>>>] Loading cameras : ", CONSOLE_SYSTEM);
    cameraManager->SetupCameras(&level);
    console->AddMessage("[i] Camera Manager setup completed. ", CONSOLE_COMMENT);
    console->AddMessage("[>>>] Loading effects : ", CONSOLE_SYSTEM);
    effectManager->SetupEffects(&level);
    console->AddMessage("[i] Effect Manager setup completed. ", CONSOLE_COMMENT);
}

void Orvex::Shutdown()
{
    if (console)
        console->SaveLog("LOG.dr");
}
