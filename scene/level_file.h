#pragma once
// Reading the level file and the object files, shared by the camera, light, effect and object
// managers: the file itself, the entries listed in a section, the values of a key, and the
// managers' item lists.
#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

// Empties tree and loads the level file named exactly levelName into it (no folder or
// extension added). A missing or unreadable file leaves the tree empty.
void LoadLevelTree(const char* levelName, DynamicRow* tree);

// The number of children of node: its knots plus its parameters.
int CountLevelChildren(const DynamicRow* tree, unsigned node);

// Calls add(id) for every child, knot or parameter, of the section found with iLookId, in file
// order. Nothing when the section is missing or empty.
template <class Add>
void ForEachListedId(const DynamicRow* tree, const char* section, Add add) {
    unsigned id = tree->iLookId(section);
    int count = id >= 1 ? CountLevelChildren(tree, id) : 0;
    unsigned child = count >= 1 ? tree->TopId(id) : 0;
    for (int i = 0; i < count && child >= 1; ++i, child = tree->NextId(child))
        add(child);
}

// Calls add(name) for every child of the section, as ForEachListedId does.
template <class Add>
void ForEachListed(const DynamicRow* tree, const char* section, Add add) {
    ForEachListedId(tree, section, [tree, &add](unsigned child) { add(tree->iLookName(child)); });
}

// Sets value to the name of the first value of key under node and answers true; false, with value
// untouched, when node or key is missing or the key has no value.
bool FirstValue(const DynamicRow* tree, unsigned node, const char* key, Orvex_string* value);

// The number text holds, with a value that is not finite or lies at or beyond the end of the
// float range ("nan", "inf", "1e40", which the string reads as the largest float) counting as 0,
// so that nothing read from a level or typed in a command puts a NaN into a transform.
float LevelFloat(const Orvex_string& text);

// Reads the names of the first count children of key, in order, as floats into out, each with
// LevelFloat. The caller has checked that key has at least count children.
void ReadLevelFloats(DynamicRow* tree, unsigned key, float* out, int count);

// The managers keep their items in doubly linked lists of entries with next and previous.
// Appends entry (its next null, its previous set here) after *last.
template <class Entry>
void AppendEntry(Entry** first, Entry** last, Entry* entry) {
    entry->next = nullptr;
    entry->previous = *last;
    if (*last)
        (*last)->next = entry;
    else
        *first = entry;
    *last = entry;
}

// Calls release(entry) for every entry from first on, then deletes the entry.
template <class Entry, class Release>
void FreeEntries(Entry* first, Release release) {
    while (first) {
        Entry* next = first->next;
        release(first);
        delete first;
        first = next;
    }
}
