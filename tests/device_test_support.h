#pragma once
// The window and present parameters the device tests share: a plain overlapped window (656 x 519
// outside is a 640 x 480 client area) and a windowed, discarding back buffer with a D24S8 depth
// buffer, presented at once; and the native tests' guard for the leak check.
#include <windows.h>

#include <d3d9.h>
#include <dlfcn.h>
#include <link.h>

namespace orvex_test {

inline LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Registers className with the window procedure (again is harmless) and creates a window of it
// with the extended style; null when that failed.
inline HWND CreateTestWindow(const char* className, int width = 656, int height = 519, DWORD exStyle = 0,
                             WNDPROC windowProc = PlainWindowProc)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
    return CreateWindowExA(exStyle, className, className, WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr,
                           nullptr, nullptr, nullptr);
}

inline D3DPRESENT_PARAMETERS WindowedParameters(D3DMULTISAMPLE_TYPE samples = D3DMULTISAMPLE_NONE)
{
    D3DPRESENT_PARAMETERS pp{};
    pp.MultiSampleType = samples;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return pp;
}

// Mesa unloads its driver at exit, before the sanitizer build's leak check, which then cannot
// match what the driver kept against the suppressions. Native tests call this in TearDown to keep
// every loaded library loaded.
inline void PinLoadedLibraries()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && *info->dlpi_name)
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

}  // namespace orvex_test
