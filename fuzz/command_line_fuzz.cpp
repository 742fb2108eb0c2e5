// Command lines as a user types them: every input line is queued and dispatched to the console,
// the camera manager and the object manager, and the same bytes, read as virtual-key codes, are
// typed into the input line (a newline is Enter), sent as key-down messages (history,
// completion, scrolling) and as wheel turns, and the lines the input line queues run too.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include <windows.h>
#include <d3d9.h>

#include "console/console.h"
#include "console/input_line.h"
#include "console/time_line.h"
#include "headless_win32.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_manager.h"

namespace {

const char kLevel[] =
    "_CAMERAS_ { one two }\n"
    "one { _POSITION_ { 0 10 -50 } _LOOK_ { 0 0 0 } }\n"
    "two { _POSITION_ { 5 10 -50 } _LOOK_ { 0 0 0 } }\n";

struct Managers {
    IDirect3DDevice9* device = nullptr;
    D3DXMATRIX world;
    Console* console = nullptr;
    Orvex_Camera_Manager* cameras = nullptr;
    Orvex_Object_Manager* objects = nullptr;
    TimeLine* timeLine = nullptr;
};

char folder[] = "/tmp/orvex_command_line_XXXXXX";

void RemoveFolder()
{
    unlink("LEVEL");
    rmdir(folder);
}

// Made once: the console's log grows over the run as it does in the viewer. The folder is an
// empty one of the fuzzer's own, so an object path names no file there; it goes at exit.
Managers& Made()
{
    static Managers m;
    if (m.console)
        return m;
    if (!mkdtemp(folder) || chdir(folder) != 0)
        abort();
    atexit(RemoveFolder);
    FILE* level = fopen("LEVEL", "wb");
    fwrite(kLevel, 1, sizeof kLevel - 1, level);
    fclose(level);

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "command_line_fuzz";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "command_line_fuzz", "fuzz", WS_OVERLAPPEDWINDOW, 0, 0, 640,
                                  480, NULL, NULL, NULL, NULL);
    IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                           D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &m.device);
    D3DXMatrixIdentity(&m.world);
    m.console = new Console(&m.device);
    m.cameras = new Orvex_Camera_Manager(m.console);
    Orvex_Effect_Manager* effects = new Orvex_Effect_Manager(m.device, m.console, m.cameras);
    Orvex_Light_Manager* lights = new Orvex_Light_Manager(m.console);
    m.objects = new Orvex_Object_Manager(&m.world, &m.device, m.console, effects, lights);
    m.cameras->LoadLevel("LEVEL");
    m.timeLine = new TimeLine(m.cameras, m.objects);
    m.console->commandQueue = &m.timeLine->queue;
    m.console->inputLine->commandQueue = &m.timeLine->queue;
    m.console->visible = true;
    return m;
}

// Paths leading out of the fuzzer's folder could name any file of the machine, devices included.
bool NamesAPath(const std::string& line)
{
    return line.find('/') != std::string::npos || line.find('\\') != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Made();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Managers& m = Made();
    const std::string text(reinterpret_cast<const char*>(data), size);

    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        if (!NamesAPath(line))
            m.timeLine->queue.AddToId(1, false, line.c_str());
        start = end + 1;
    }
    m.timeLine->ProcessCommands();

    InputLine& input = *m.console->inputLine;
    input.focused = true;
    for (size_t i = 0; i < size; ++i) {
        BYTE keys[256] = {};
        keys[data[i] == '\n' ? VK_RETURN : data[i]] = 0x80;
        if (i + 1 < size && (data[i + 1] & 1))
            keys[VK_LSHIFT] = 0x80;
        input.keyTimer.referenceTime += 100000;
        m.console->HandleKeyDown(data[i]);
        m.console->HandleWheel((short)((data[i] - 128) * 15), 300, 100);
        input.HandleKeys(keys);
        if (keys[VK_RETURN] && input.commandQueue->iCountParams(1) > 0) {
            const unsigned last = input.commandQueue->TopId(1);
            if (NamesAPath(input.commandQueue->iLookName(last).getChars()))
                input.commandQueue->DeleteById(last);
            m.timeLine->ProcessCommands();
        }
    }
    m.console->Draw();
    return 0;
}
