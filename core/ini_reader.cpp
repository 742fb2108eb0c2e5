#include "core/ini_reader.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "foundation/file_io.h"
#include "foundation/file_path.h"

namespace {

// "параметры инициализации" in code page 1251.
const char kRootKnot[] =
    "\xEF\xE0\xF0\xE0\xEC\xE5\xF2\xF0\xFB\x20\xE8\xED"
    "\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xE8";

const int kLinePiece = 254;
const size_t kNameBuffer = 1024;

void ReportLoadFailure(const Orvex_string& fileName)
{
    Orvex_string text;
    text = "| File loading failed! |";
    text += fileName;
    text += " | ";
    MessageBoxA(NULL, text.getChars(), "ERROR", MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace

Orvex_cIniReader::~Orvex_cIniReader() {}

DynamicRow Orvex_cIniReader::ReadIni(Orvex_string fileName)
{
    DynamicRow tree;
    tree.fresh();
    DWORD root = tree.AddToId(0, true, kRootKnot);

    char path[kNameBuffer];
    strncpy(path, fileName.getChars(), kNameBuffer - 1);
    path[kNameBuffer - 1] = '\0';

    // A pipe or a device would block start-up or never end: only a regular file is read.
    FILE* file = names_regular_file(path) ? fopen(resolve_path(path).c_str(), "rt") : NULL;
    if (!file) {
        ReportLoadFailure(fileName);
        return tree;
    }

    char line[kLinePiece + 1];
    bool first = true;
    while (fgets(line, sizeof line, file)) {
        // A piece may hold NUL bytes from a binary file; the text ends at the first of them.
        size_t length = strlen(line);
        if (first) {
            const size_t mark = utf8_bom_length(line, length);
            memmove(line, line + mark, length - mark + 1);
            length -= mark;
            first = false;
        }
        while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r'))
            line[--length] = '\0';

        Orvex_string text;
        text = line;
        Orvex_string name;
        Orvex_string params;
        if (!text.getCommandBlock(name, params))
            continue;
        DWORD knot = tree.AddToId(root, true, name);
        tree.AddToIdSeparated(knot, params, ',');
    }
    // A file that opens but cannot be read (a folder of that name, an I/O error) is reported
    // like a missing one; the blocks read before the error are kept.
    if (ferror(file))
        ReportLoadFailure(fileName);
    fclose(file);
    return tree;
}

DynamicRow LoadSettings(const char* fileName)
{
    DynamicRow tree;
    {
        Orvex_cIniReader reader;
        Orvex_string name;
        name = fileName;
        tree = reader.ReadIni(name);
    }
    tree.iSaveToFile("Quillon2.0\\loaded_parameters");
    return tree;
}

int ReadSettingValues(DynamicRow& settings, const char* key, int* values, int capacity)
{
    DWORD id = settings.iLookId(key);
    if (id < 1)
        return -1;
    int count = (int)settings.iCountParams(id);
    DWORD value = settings.TopId(id);
    for (int i = 0; i < count && i < capacity && value != 0; ++i) {
        values[i] = settings.iLookName(value).toInt();
        value = settings.NextId(value);
    }
    return count;
}
