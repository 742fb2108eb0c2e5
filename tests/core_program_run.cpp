// One whole run of the viewer on the headless platform, for core_program_tests: the real WinMain
// in the current folder, driven by "script.txt" there, its observations written to "run.txt".
//
// script.txt, one command a line, run when the loop has drawn <frame> frames:
//   <frame> advance <ms>          move the clock on
//   <frame> key <vk>              a key-down message (and the key held)
//   <frame> keyup <vk>            the key's release
//   <frame> lpress <x> <y>        left button pressed at a screen point
//   <frame> lrelease <x> <y>      left button released
//   <frame> move <x> <y>          the cursor moved to a screen point
//   <frame> close                 the window's close button
//   <frame> drop                  meshes/cube.x dropped on the window
//   <frame> begin_scene           a scene left open on the device, so the frame's BeginScene fails
//   <frame> tick <ms>             from now on, move the clock by ms before every pass
// and, before the run:
//   0 fail_device                 device creation fails
//   0 fail_fonts                  every font creation fails
//   0 dpi <n>                     the screen's dpi
//   0 no_display                  no monitor: GetSystemMetrics(SM_CMONITORS) answers 0
// The program's first argument, if any, is WinMain's command line.
// run.txt: "exit <code>", "device references <n>" while the engine still holds it, one
// "window ..." and "class ..." line per record, "box <text>" per message box, one "peek ..."
// line per PeekMessageA with the state the window procedure moves
// (SetCursor calls so far, the console's timers and input line, the active camera's place), then
// "call <line>" per recorded call; a draw that is not indexed from buffers is followed by its
// vertices, rounded. After WinMain returns, LOG.dr is moved to
// LOG.first, so the LOG.dr found afterwards was written by the engine's destructor.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

#include "call_log.h"
#include "common/win32/win32_drop.h"
#include "console/console.h"
#include "console/input_line.h"
#include "core/orvex.h"
#include "core/win_main.h"
#include "headless_d3d9.h"
#include "headless_d3dx_font.h"
#include "headless_win32.h"
#include "scene/cameras/camera.h"
#include "scene/cameras/camera_manager.h"

namespace {

struct Step {
    unsigned frame;
    std::string command;
    long a;
    long b;
    bool done;
};

std::vector<Step> ReadScript()
{
    std::vector<Step> steps;
    std::ifstream in("script.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        Step step = {0, "", 0, 0, false};
        if (words >> step.frame >> step.command) {
            words >> step.a >> step.b;
            steps.push_back(step);
        }
    }
    return steps;
}

std::ostringstream out;

std::string Rounded(float value)
{
    char text[32];
    snprintf(text, sizeof text, "%.2f", value);
    return strcmp(text, "-0.00") == 0 ? "0.00" : text;
}

std::vector<Step> steps;
long tick = 0;

void OnPeek(const orvex_headless::Peek_Info& info)
{
    if (tick)
        orvex_headless::advance_time((DWORD)tick);
    for (Step& step : steps) {
        if (step.done || step.frame > info.frames)
            continue;
        step.done = true;
        if (step.command == "advance")
            orvex_headless::advance_time((DWORD)step.a);
        else if (step.command == "tick")
            tick = step.a;
        else if (step.command == "key")
            orvex_headless::press_key((int)step.a);
        else if (step.command == "keyup")
            orvex_headless::release_key((int)step.a);
        else if (step.command == "lpress")
            orvex_headless::press_left_button((int)step.a, (int)step.b);
        else if (step.command == "lrelease")
            orvex_headless::release_left_button((int)step.a, (int)step.b);
        else if (step.command == "move")
            orvex_headless::set_cursor_pos((int)step.a, (int)step.b);
        else if (step.command == "begin_scene")
            orvex_headless::last_device()->BeginScene();
        else if (step.command == "close")
            orvex_headless::close_focus_window();
        else if (step.command == "drop")
            PostMessageA(windowHandle, WM_DROPFILES, (WPARAM)win32_make_drop({"meshes/cube.x"}), 0);
    }
    const std::vector<HCURSOR>& cursors = orvex_headless::cursors_set();
    int cursorWidth = 0, cursorHeight = 0, hotX, hotY;  // 0x0: none, or one that did not load
    orvex_headless::cursor_info(cursors.empty() ? nullptr : cursors.back(), &cursorWidth, &cursorHeight, &hotX, &hotY);
    out << "peek " << info.call << " frames=" << info.frames << " lbd=" << leftButtonDown
        << " cursors=" << cursors.size() << " cursor=" << cursorWidth << "x" << cursorHeight;
    if (engine.console) {
        const InputLine& input = *engine.console->inputLine;
        out << " now=" << orvex_headless::current_time()
            << " toggle=" << engine.console->toggleTimer.referenceTime
            << " spare=" << engine.console->spareTimer.referenceTime
            << " key=" << input.keyTimer.referenceTime << " console=" << engine.console->visible
            << " input=" << input.x << "," << input.y << (input.focused ? " focused" : "")
            << (input.dragging ? " dragging" : "");
    }
    if (engine.cameraManager && engine.cameraManager->activeCamera) {
        const D3DXVECTOR3& at = engine.cameraManager->activeCamera->camera->position;
        out << " camera=" << Rounded(at.x) << " " << Rounded(at.y) << " " << Rounded(at.z);
    }
    out << "\n";
}

// Every value of a draw's vertices by the parts its FVF names: floats with two
// decimals, colours in hex.
void WriteVertices(std::ostream& result, const orvex_headless::Recorded_Draw& draw)
{
    DWORD fvf = draw.fvf;
    std::vector<char> parts;  // 'f' a float, 'c' a colour
    DWORD position = fvf & D3DFVF_POSITION_MASK;
    parts.insert(parts.end(), position == D3DFVF_XYZRHW ? 4 : position == D3DFVF_XYZ ? 3 : 0, 'f');
    if (fvf & D3DFVF_NORMAL)
        parts.insert(parts.end(), 3, 'f');
    if (fvf & D3DFVF_DIFFUSE)
        parts.push_back('c');
    if (fvf & D3DFVF_SPECULAR)
        parts.push_back('c');
    parts.insert(parts.end(), 2 * ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT), 'f');
    if (parts.size() * 4 != draw.stride)
        parts.assign(draw.stride / 4, 'f');
    for (UINT v = 0; v < draw.VertexCount(); ++v) {
        result << "call     ";
        for (size_t i = 0; i < parts.size(); ++i) {
            DWORD bits = 0;
            size_t at = v * draw.stride + i * 4;
            if (at + 4 <= draw.vertices.size())
                memcpy(&bits, &draw.vertices[at], 4);
            char text[32];
            if (parts[i] == 'c')
                snprintf(text, sizeof text, " %08X", (unsigned)bits);
            else
                snprintf(text, sizeof text, " %s", Rounded(draw.Float(v, (UINT)i)).c_str());
            result << text;
        }
        result << "\n";
    }
    if (!draw.indices.empty()) {
        result << "call     indices";
        for (UINT index : draw.indices)
            result << " " << index;
        result << "\n";
    }
}

}  // namespace

int main(int argc, char** argv)
{
    orvex_headless::reset_win32();
    orvex_headless::set_peek_limit(10000);
    steps = ReadScript();
    for (Step& step : steps) {
        if (step.command == "fail_device") {
            orvex_headless::d3d9_failures().create_device = D3DERR_NOTAVAILABLE;
            step.done = true;
        } else if (step.command == "fail_fonts") {
            orvex_headless::set_font_creation_failure([](const D3DXFONT_DESCA&) { return true; });
            step.done = true;
        } else if (step.command == "dpi") {
            orvex_headless::set_dpi((int)step.a);
            step.done = true;
        } else if (step.command == "no_display") {
            orvex_headless::set_monitor_count(0);
            step.done = true;
        }
    }
    orvex_headless::set_peek_hook(OnPeek);

    int code = WinMain(GetModuleHandleA(NULL), NULL, argc > 1 ? argv[1] : (LPSTR) "", SW_SHOWDEFAULT);

    std::ofstream result("run.txt", std::ios::binary);
    result << "exit " << code << "\n";
    // Every resource holds the device: a reference leaked on the way shows here as one too many.
    if (IDirect3DDevice9* device = orvex_headless::last_device()) {
        device->AddRef();
        result << "device references " << device->Release() << "\n";
    }
    for (const auto& w : orvex_headless::window_records())
        result << "window " << w.class_name << "|" << w.title << "|" << w.outer_width << "x"
               << w.outer_height << " shown=" << w.ever_shown << " destroyed=" << w.destroyed
               << "\n";
    for (const auto& c : orvex_headless::class_records())
        result << "class " << c.name << " style=" << c.style << " registered=" << c.registered
               << "\n";
    for (const auto& box : orvex_headless::message_boxes())
        result << "box " << box.caption << "|" << box.text << "\n";
    if (orvex_headless::peek_limit_reached())
        result << "peek_limit_reached\n";
    result << out.str();
    const std::vector<orvex_headless::Recorded_Draw>& draws = orvex_headless::recorded_draws();
    size_t draw = 0;
    for (const std::string& call : orvex_headless::call_log()) {
        result << "call " << call << "\n";
        if (draw < draws.size() && draws[draw].call == call) {
            if (call.rfind("DrawIndexedPrimitive(", 0) != 0)
                WriteVertices(result, draws[draw]);
            ++draw;
        }
    }
    result.close();

    rename("LOG.dr", "LOG.first");
    return code;
}
