// Console: showing and hiding, keyboard polling, mouse routing and drawing.
#include "console/console.h"

#include "console/input_line.h"
#include "console/log_view.h"

namespace {

const BYTE kKeyDown = 0x80;

}  // namespace

void Console::ToggleVisible()
{
    if (toggleTimer.Elapsed() / 6 > 55) {
        toggleTimer.Start();
        visible = !visible;
        if (!visible)
            EndDrags();
    }
}

// A hidden console sees no release: a drag or thumb hold begun before it hid would otherwise
// still follow the cursor when it opens again.
void Console::EndDrags()
{
    logView->moving = false;
    logView->thumbGrabbed = false;
    inputLine->dragging = false;
}

void Console::PollKeyboard()
{
    BYTE keys[256];
    GetKeyboardState(keys);
    inputLine->HandleKeys(keys);
    if (toggleTimer.Elapsed() / 8 > 200) {
        toggleTimer.Start();
        if (keys[VK_OEM_3] & kKeyDown) {
            visible = false;
            EndDrags();
        }
    }
}

void Console::HandleMouse(short event, int x, int y)
{
    if (!visible)
        return;
    if (inputLine->HandleMouse(event, x, y)) {
        logView->active = false;
        logView->textColor = 0xFFC8C8F0;
        return;
    }
    logView->HandleMouse(event, x, y);
}

void Console::Draw()
{
    if (!visible)
        return;
    (*device)->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    logView->Draw();
    inputLine->Draw();
}
