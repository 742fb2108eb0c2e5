#include "core/screenshot.h"

#include <d3dx9.h>
#include <stdio.h>

#include <filesystem>
#include <system_error>

namespace {

const char kFolder[] = "screenshots";

bool EndsWithBmp(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end)
        c = (char)((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
    return end == ".bmp";
}

}  // namespace

HRESULT SaveBackBuffer(IDirect3DDevice9* device, const char* path)
{
    IDirect3DSurface9* surface = NULL;
    HRESULT hr = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface);
    if (FAILED(hr))
        return hr;
    hr = D3DXSaveSurfaceToFileA(path, EndsWithBmp(path) ? D3DXIFF_BMP : D3DXIFF_PNG, surface, NULL, NULL);
    surface->Release();
    return hr;
}

std::string NextScreenshotName()
{
    std::error_code ignored;
    std::filesystem::create_directory(kFolder, ignored);

    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    snprintf(stamp, sizeof stamp, "%s/orvex-%04u%02u%02u-%02u%02u%02u", kFolder, (unsigned)now.wYear,
             (unsigned)now.wMonth, (unsigned)now.wDay, (unsigned)now.wHour, (unsigned)now.wMinute,
             (unsigned)now.wSecond);
    std::string name = std::string(stamp) + ".png";
    for (int counter = 2; std::filesystem::exists(name, ignored); ++counter)
        name = std::string(stamp) + "-" + std::to_string(counter) + ".png";
    return name;
}
