// Reads arbitrary bytes as a parameter-tree file. Whatever loads must save, and what it saves
// must load again as the same tree and save to the same text.
#include "foundation/dynamic_row.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void describe(const DynamicRow& tree, std::string& out)
{
    // Document order without recursion: the fuzzer builds trees 256 knots deep.
    unsigned int id = tree.TopId(0);
    while (id) {
        out += tree.IsKnot(id) ? "K" : "P";
        out += tree.iLookName(id).getChars();
        out += '\x01';
        if (unsigned int child = tree.TopId(id)) {
            out += '(';
            id = child;
            continue;
        }
        while (id && !tree.NextId(id)) {
            id = tree.ParentId(id);
            if (id)
                out += ')';
        }
        if (id)
            id = tree.NextId(id);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DynamicRow tree;
    const bool loaded = tree.LoadFromText(reinterpret_cast<const char*>(data), size);
    if (!loaded) {
        if (tree.NodeCount() != 0 || tree.IsLoaded() || tree.TopId(0) != 0)
            std::abort();  // a failed load keeps nothing
        return 0;
    }
    std::string text;
    if (!tree.SaveToText(text))
        std::abort();  // everything a file can hold can be written
    DynamicRow back;
    if (!back.LoadFromText(text.data(), text.size()) || back.NodeCount() != tree.NodeCount())
        std::abort();
    std::string first, second, again;
    describe(tree, first);
    describe(back, second);
    if (first != second || !back.SaveToText(again) || again != text)
        std::abort();

    // Look-ups by every name of the first few nodes find a node of that name.
    int checked = 0;
    for (unsigned int id = tree.TopId(0); id && checked < 8; id = tree.NextId(id), ++checked) {
        const Orvex_string name = tree.iLookName(id);
        const unsigned int found = tree.iLookId(name);
        if (!found || !(tree.iLookName(found) == name))
            std::abort();
        if (tree.iLookInFor(0, name) == 0)
            std::abort();
    }
    return 0;
}
