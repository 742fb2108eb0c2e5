#include "headless_d3d9.h"

#include "d3d9_headless_device.h"
#include "d3d9_headless_label.h"

#include <cstring>

namespace orvex_headless {

namespace {

struct Headless_D3D9 {
    D3D9_Failures failures;
    std::vector<Recorded_Draw> draws;
    IDirect3DDevice9* last = nullptr;
};

Headless_D3D9& headless()
{
    static Headless_D3D9 state;
    return state;
}

D3D9_Headless_Device* headless_device(IDirect3DDevice9* device)
{
    return dynamic_cast<D3D9_Headless_Device*>(device);
}

}  // namespace

void d3d9_keep_draw(Recorded_Draw draw) { headless().draws.push_back(std::move(draw)); }

void d3d9_device_made(IDirect3DDevice9* device) { headless().last = device; }

void d3d9_device_gone(IDirect3DDevice9* device)
{
    if (headless().last == device)
        headless().last = nullptr;
}

D3D9_Failures& d3d9_failures() { return headless().failures; }

const std::vector<Recorded_Draw>& recorded_draws() { return headless().draws; }

float Recorded_Draw::Float(UINT v, UINT i) const
{
    const size_t at = size_t(v) * stride + size_t(i) * 4;
    if (at + 4 > vertices.size())
        return 0.0f;
    float f;
    std::memcpy(&f, vertices.data() + at, 4);
    return f;
}

IDirect3DDevice9* last_device() { return headless().last; }

unsigned presented_frames(IDirect3DDevice9* device)
{
    D3D9_Headless_Device* d = headless_device(device);
    return d ? d->Frames() : 0;
}

D3DCOLOR last_clear_colour(IDirect3DDevice9* device)
{
    D3D9_Headless_Device* d = headless_device(device);
    return d ? d->ClearColour() : 0;
}

void set_resource_label(IDirect3DResource9* resource, const std::string& label)
{
    if (auto* labelled = dynamic_cast<D3D9_Headless_Label*>(resource))
        labelled->label = label;
}

std::string resource_label(IDirect3DResource9* resource)
{
    if (!resource)
        return "NULL";
    auto* labelled = dynamic_cast<D3D9_Headless_Label*>(resource);
    return labelled ? labelled->label : "?";
}

void reset_d3d9()
{
    headless().failures = D3D9_Failures();
    headless().draws.clear();
}

}  // namespace orvex_headless
