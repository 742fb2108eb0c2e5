// Object files as a scene object reads them, and the same bytes as a level's "_OBJECTS_" section
// as the object manager reads it: nothing may crash, a loaded object's arrays match its material
// count, its effect names are all reachable, and the manager's ids run 1, 2, 3 ... with its
// counts in step.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/console.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_manager.h"
#include "scene/objects/static_cobject.h"

namespace {

IDirect3DDevice9* MakeDevice()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "object_file_fuzz";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "object_file_fuzz", "fuzz", WS_OVERLAPPEDWINDOW, 0, 0, 656,
                                  519, NULL, NULL, NULL, NULL);
    IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    IDirect3DDevice9* device = NULL;
    if (!direct3D || FAILED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                   D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                                   &parameters, &device)))
        abort();
    direct3D->Release();
    return device;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static IDirect3DDevice9* device = MakeDevice();
    static Console* console = new Console(&device);
    static Orvex_Camera_Manager* cameras = new Orvex_Camera_Manager(console);
    static Orvex_Effect_Manager* effects = new Orvex_Effect_Manager(device, console, cameras);
    static Orvex_Light_Manager* lights = new Orvex_Light_Manager(console);
    static D3DXMATRIX identity = *D3DXMatrixIdentity(&identity);
    static const std::string path = "/tmp/orvex_object_file_fuzz_" + std::to_string(getpid());
    if (lights->lightCount == 0) {
        DynamicRow none;
        none.fresh();
        lights->AddLight(Orvex_string(), &none);   // one light with the defaults
        lights->AddLight(Orvex_string(), &none);
    }

    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return 0;
    fwrite(data, 1, size, file);
    fclose(file);

    Static_CObject object(&identity, path.c_str(), &device, effects, lights, console);
    object.position[0] = 1.0f;
    if (object.Load()) {
        if ((object.materialCount > 0) != (object.materials != NULL && object.textures != NULL))
            abort();
        for (DWORD i = 1; i <= object.effectCount; ++i) object.GetEffectName(i);
        object.Render(1, true);
        object.Render(2, false);
    }

    DynamicRow level;
    level.fresh();
    if (level.LoadFromText(reinterpret_cast<const char*>(data), size)) {
        Orvex_Object_Manager objects(&identity, &device, console, effects, lights);
        objects.SetupObjects(level);
        int expected = 1;
        for (ObjectEntry* entry = objects.objectList; entry; entry = entry->next, ++expected)
            if (entry->id != expected || !entry->visible) abort();
        if (objects.objectCount != expected - 1 || objects.shownObjectCount != objects.objectCount)
            abort();
        objects.DrawObjects();
    }
    unlink(path.c_str());
    return 0;
}
