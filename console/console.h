#pragma once
// The console: the engine's message log and its on-screen terminal.
#include <windows.h>
#include <d3d9.h>

#include <string>

#include "console/console_style.h"
#include "core/timer.h"
#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

class InputLine;
class LogView;

// One instance, created by the engine before every manager and never destroyed. The log is a
// tree: knot "LOG" (id 1) holds one knot per display line, named by the line's text with its
// time stamp; under each line one parameter names its category (none for a number outside 0-3).
// Every manager holds a pointer to the console and reports through AddMessage.
class Console {
public:
    // deviceSlot is the address of the engine's device pointer, read at every use. Writes the
    // start-up line, creates the input line and the log view.
    explicit Console(IDirect3DDevice9** deviceSlot);
    virtual ~Console();

    // Adds text with a time stamp ("[q:r] ", milliseconds since creation), cut into display
    // lines of about 80 characters; never fails, never removes a line. Cost is linear in the
    // length of the text, whatever the size of the log.
    void AddMessage(Orvex_string text, short category);
    // A null text is taken as "".
    void AddMessage(const char* text, int category);

    // Writes the whole log tree to path; a failure is silent and leaves the tree unchanged.
    void SaveLog(const char* path);

    // Display and input (console_display.cpp): shown and hidden by the console key (hiding ends
    // any drag in progress), polled by the camera manager's keyboard step while shown, mouse
    // events from the window procedure (1 press, 2 release) and the camera manager (0 position),
    // drawn by the frame.
    void ToggleVisible();
    void PollKeyboard();
    void HandleMouse(short event, int x, int y);
    void Draw();

    // A key-down message (the window procedure's WM_KEYDOWN, auto-repeat included) while the
    // console is shown; typing itself is polled. In the focused input line Up and Down walk
    // the history and Tab completes the word at the end of the line, a second Tab listing the
    // candidates (_COMMENT_) when they disagree; Page Up and Page Down move the log view by a
    // page, Home and End to the oldest and the newest line. Nothing while hidden: these keys
    // then belong to the camera.
    void HandleKeyDown(WPARAM key);
    // WM_MOUSEWHEEL with the cursor in client pixels: over the log view each notch
    // (WHEEL_DELTA) moves it three lines, forward toward older lines. Nothing while hidden.
    void HandleWheel(short delta, int x, int y);

    DynamicRow log;
    DWORD logKnot;
    Timer clock;
    IDirect3DDevice9** device;
    DynamicRow* commandQueue;
    DynamicRow commandBase;
    InputLine* inputLine;
    LogView* logView;
    Timer spareTimer;
    Timer toggleTimer;
    bool visible;

private:
    void AddText(const char* text, size_t length, short category);
    void AddLine(const char* line, short category);
    void AddStartupLine();
    void EndDrags();
    void CompleteInputLine(bool again);

    DynamicRow commandList;
    bool tabbed;              // the last key-down was a Tab ...
    std::string tabbedText;   // ... which left this text in the input line
};
