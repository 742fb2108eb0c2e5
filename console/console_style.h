#pragma once
// How the console reads and looks, shared by the console, its input line and its log view: the
// log categories (the number callers pass, the keyword stored under each line, the colour the log
// view draws it in), the colours of the windows' captions and the key-state bit.
#include <windows.h>
#include <d3d9.h>

// Log categories: the number callers pass to Console::AddMessage.
enum {
    CONSOLE_TEXT = 0,
    CONSOLE_ERROR = 1,
    CONSOLE_COMMENT = 2,
    CONSOLE_SYSTEM = 3,
    CONSOLE_CATEGORY_COUNT = 4
};

struct ConsoleCategory {
    const char* keyword;  // stored under each log line
    D3DCOLOR colour;      // the line's colour in the log view
};

// Indexed by CONSOLE_*.
inline constexpr ConsoleCategory kConsoleCategories[CONSOLE_CATEGORY_COUNT] = {
    {"_TEXT_", 0xFFFFFFFF},
    {"_ERROR_", 0xFFED5D34},
    {"_COMMENT_", 0xFFFEF236},
    {"_SYSTEM_", 0xFF0060A2},
};

// A console window's caption (and the input line's text): idle, focused or active, and while the
// other window has the mouse.
inline constexpr D3DCOLOR kCaptionIdleColour = 0xFF91919B;
inline constexpr D3DCOLOR kCaptionFocusedColour = 0xFF373737;
inline constexpr D3DCOLOR kCaptionElsewhereColour = 0xFFC8C8F0;

// The bit of a GetKeyboardState byte that says the key is down.
inline constexpr BYTE kKeyDown = 0x80;
