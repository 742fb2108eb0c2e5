#pragma once
// The headless platform's record of calls. Every device, texture, mesh, font and effect call the
// engine makes on the headless platform appends one line here, oldest first, e.g.
//   SetRenderState(FILLMODE, 2)
//   DrawTextA("0 fps", {5,45,0,0}, DT_NOCLIP, 0xFFFFFFFF)
//   effect fx/a.fx SetVector(View_Pos, 1 2 3 1)
//   mesh box.x DrawSubset(0)
//   ShowWindow(Orvex, shown)       a window becoming visible or hidden
// Tests read and clear it; nothing in the engine does.
#include <string>
#include <vector>

namespace orvex_headless {

std::vector<std::string>& call_log();
void record_call(std::string line);
void clear_call_log();

}  // namespace orvex_headless
