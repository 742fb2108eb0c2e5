#include "console/console.h"

#include <stdio.h>
#include <string.h>

#include <string>

#include "console/input_line.h"
#include "console/log_view.h"

namespace {

// A stamped line shorter than this stays whole; a longer one is cut into a first piece of
// kFirstPiece characters and further pieces of kNextPiece characters behind a three-blank indent.
const size_t kWholeLine = 80;
const size_t kFirstPiece = 81;
const size_t kNextPiece = 80;
const char kIndent[] = "   ";

// "Ввод команды:" and "команды:" in code page 1251.
const char kInputCaption[] = "\xC2\xE2\xEE\xE4\x20\xEA\xEE\xEC\xE0\xED\xE4\xFB\x3A";
const char kLogCaption[] = "\xEA\xEE\xEC\xE0\xED\xE4\xFB\x3A";

const char* const kWeekDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

}  // namespace

Console::Console(IDirect3DDevice9** deviceSlot)
{
    logKnot = log.AddToId(0, true, "LOG");
    visible = false;
    tabbed = false;
    device = deviceSlot;

    toggleTimer.Start();
    clock.Start();
    spareTimer.Start();

    // The command base is read for the maker's tools; nothing in the engine consults it.
    commandBase.iLoadFromFile("GlobalCommandBase.DR");
    commandList.AddToId(0, true, "_COMMANDS_");

    AddStartupLine();

    commandQueue = NULL;

    inputLine = new InputLine(device, commandQueue, kInputCaption);
    inputLine->x = 9;
    inputLine->y = 200;
    inputLine->width = 215;
    inputLine->height = 17;
    inputLine->CreateResources();
    inputLine->focused = true;
    inputLine->textColor = kCaptionFocusedColour;

    logView = new LogView(device, this, kLogCaption);
    logView->Place(9, 30, 515, 150, 0xFF969696);
}

// The engine never destroys its console; tests and tools that do get the windows back.
Console::~Console()
{
    delete inputLine;
    delete logView;
}

void Console::AddStartupLine()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    // After the year comes the name of the week day: the date line is for people reading
    // LOG.dr, and nothing reads it back.
    char weekDay[16];
    if (now.wDayOfWeek < 7)
        snprintf(weekDay, sizeof weekDay, "%s", kWeekDays[now.wDayOfWeek]);
    else
        snprintf(weekDay, sizeof weekDay, "%u", (unsigned)now.wDayOfWeek);

    char line[160];
    snprintf(line, sizeof line,
             "[Currient date: %u-%u-%u %s , time: %u-%u-%u (GMT+0)]",
             (unsigned)now.wDay, (unsigned)now.wMonth, (unsigned)now.wYear, weekDay,
             (unsigned)now.wHour, (unsigned)now.wMinute, (unsigned)now.wSecond);
    DWORD id = log.AddToId(logKnot, true, line);
    log.AddToId(id, false, kConsoleCategories[CONSOLE_SYSTEM].keyword);
}

void Console::AddMessage(const char* text, int category)
{
    // A null text is an empty one, as it is for Orvex_string; release builds have no assert.
    if (!text)
        text = "";
    AddText(text, strlen(text), (short)category);
}

void Console::AddMessage(Orvex_string text, short category)
{
    const char* chars = text.getChars();
    AddText(chars, strlen(chars), category);
}

// The stamped text is kept outside an Orvex_string until it is cut, so a message longer than
// the string's capacity is stored whole, as lines that each fit.
void Console::AddText(const char* text, size_t length, short category)
{
    DWORD t = clock.Elapsed();
    DWORD q = t / 600;
    DWORD r = t % 600;
    if (r < 10)
        r *= 100;
    if (r < 100)
        r *= 10;
    char stamp[32];
    snprintf(stamp, sizeof stamp, "[%lu:%lu] ", (unsigned long)q, (unsigned long)r);

    std::string line;
    line.reserve(strlen(stamp) + length);
    line += stamp;
    line.append(text, length);

    if (line.size() < kWholeLine) {
        AddLine(line.c_str(), category);
        return;
    }
    std::string piece = line.substr(0, kFirstPiece);
    AddLine(piece.c_str(), category);
    for (size_t pos = kFirstPiece; pos < line.size(); pos += kNextPiece) {
        piece = kIndent;
        piece.append(line, pos, kNextPiece);
        AddLine(piece.c_str(), category);
    }
}

void Console::AddLine(const char* line, short category)
{
    DWORD id = log.AddToId(logKnot, true, line);
    if (category >= 0 && category < CONSOLE_CATEGORY_COUNT)
        log.AddToId(id, false, kConsoleCategories[category].keyword);
}

void Console::SaveLog(const char* path)
{
    Orvex_string name;
    name = path;
    log.iSaveToFile(name);
}
