// DynamicRowText: the text form of a DynamicRow (the file format described in dynamic_row.h).
// DynamicRow's own load and save call it; nothing else needs to.
#ifndef ORVEX_FOUNDATION_DYNAMIC_ROW_TEXT_H
#define ORVEX_FOUNDATION_DYNAMIC_ROW_TEXT_H

#include "foundation/dynamic_row.h"

#include <cstddef>
#include <string>

class DynamicRowText {
public:
    // Reads size bytes of text into tree, which must be freshly emptied. False on any error in
    // the text (tree then holds a part of it and is to be thrown away).
    static bool parse(const char* data, std::size_t size, DynamicRow& tree);

    // Appends the text of tree to out. False when the tree nests knots deeper than
    // DynamicRow::MAX_DEPTH (out then holds a part and is to be thrown away).
    static bool write(const DynamicRow& tree, std::string& out);
};

#endif
