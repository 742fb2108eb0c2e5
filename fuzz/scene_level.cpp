// Level files as the camera and light managers read them: any bytes that parse as a tree must
// load without a crash, and no value read from them may make a camera's transforms non-finite.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "console/console.h"
#include "scene/cameras/camera_manager.h"
#include "scene/lights/light_manager.h"

namespace {

bool Finite(const D3DXMATRIX& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!std::isfinite(m.m[r][c])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static IDirect3DDevice9* device = nullptr;
    static Console* console = new Console(&device);

    DynamicRow tree;
    tree.fresh();
    if (!tree.LoadFromText(reinterpret_cast<const char*>(data), size)) return 0;

    Orvex_Camera_Manager cameras(console);
    cameras.SetupCameras(&tree);
    for (CameraEntry* e = cameras.cameraList; e; e = e->next) {
        e->camera->Apply(&device);
        if (!Finite(e->camera->viewMatrix) || !Finite(e->camera->projectionMatrix)) std::abort();
    }
    cameras.HandleKeyboard(16.0f);

    Orvex_Light_Manager lights(console);
    lights.SetupLights(&tree);
    for (LightEntry* e = lights.lightList; e; e = e->next) {
        const D3DXVECTOR4& p = e->light->position;
        // Each value on its own: finite values near FLT_MAX may overflow when added.
        for (float v : {p.x, p.y, p.z, p.w, e->light->falloff})
            if (!std::isfinite(v)) std::abort();
    }
    return 0;
}
