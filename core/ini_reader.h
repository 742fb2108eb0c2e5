#pragma once
// The settings file reader: "ini.txt" into a parameter tree.
#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

// Reads a settings file, one block a line ("NAME = v1, v2"), into a fresh tree: a root knot
// named "параметры инициализации" (code page 1251), under it one knot per block in file order,
// under each its values as parameters. Lines longer than 254 characters are taken in pieces of
// 254, each read as a line of its own.
class Orvex_cIniReader {
public:
    virtual ~Orvex_cIniReader();

    // A missing or unreadable file shows the message box "| File loading failed! |<name> | "
    // and gives the tree with only the root knot. The reader's own tree is not touched.
    DynamicRow ReadIni(Orvex_string fileName);

private:
    DynamicRow row;
};

// Reads fileName with a fresh reader, writes the tree's copy to "Quillon2.0\loaded_parameters"
// (a failed write is ignored: no folder, no copy) and returns the tree. Called once, at start-up.
DynamicRow LoadSettings(const char* fileName);

// The values of a settings key, as the readers of the settings tree take them: the key is found
// anywhere in the tree, its parameters are read in order with toInt. Fills at most capacity
// values and answers how many values the key has, or -1 when the tree has no such key.
int ReadSettingValues(DynamicRow& settings, const char* key, int* values, int capacity);
