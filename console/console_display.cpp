// Console: showing and hiding, keyboard polling, mouse routing and drawing.
#include "console/console.h"

#include "console/command_completion.h"
#include "console/input_line.h"
#include "console/log_view.h"

namespace {

const int kLinesPerNotch = 3;

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
        logView->textColor = kCaptionElsewhereColour;
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

void Console::HandleKeyDown(WPARAM key)
{
    if (!visible)
        return;
    const bool wasTabbed = tabbed;
    tabbed = false;
    switch (key) {
    case VK_PRIOR:
        logView->ScrollLines(logView->PageLines());
        return;
    case VK_NEXT:
        logView->ScrollLines(-logView->PageLines());
        return;
    case VK_HOME:
        logView->ScrollToOldest();
        return;
    case VK_END:
        logView->ScrollToNewest();
        return;
    }
    if (!inputLine->focused)
        return;
    std::string line;
    switch (key) {
    case VK_UP:
        if (inputLine->history.Older(&line))
            inputLine->text = line.c_str();
        break;
    case VK_DOWN:
        if (inputLine->history.Newer(&line))
            inputLine->text = line.c_str();
        break;
    case VK_TAB:
        tabbed = true;
        CompleteInputLine(wasTabbed);
        break;
    }
}

// The first Tab completes as far as the candidates agree; a second one on a line it could not
// take further lists them.
void Console::CompleteInputLine(bool again)
{
    const std::string typed = inputLine->text.getChars();
    const Completion completion = CompleteCommandLine(typed);
    if (completion.line != typed) {
        if (completion.line.size() <= InputLine::MAX_TEXT)
            inputLine->text = completion.line.c_str();
    } else if (again && typed == tabbedText && completion.candidates.size() > 1) {
        std::string list;
        for (const std::string& word : completion.candidates)
            list += (list.empty() ? "" : "  ") + word;
        AddMessage(list.c_str(), CONSOLE_COMMENT);
    }
    tabbedText = inputLine->text.getChars();
}

void Console::HandleWheel(short delta, int x, int y)
{
    if (!visible)
        return;
    logView->HandleWheel(delta, x, y, kLinesPerNotch);
}
