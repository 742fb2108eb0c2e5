// Feeds arbitrary bytes to the settings reader as an ini.txt and checks the tree it builds.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "core/ini_reader.h"

namespace {

std::string ScratchFile()
{
    char path[64];
    snprintf(path, sizeof path, "/tmp/orvex_settings_fuzz_%d.txt", (int)getpid());
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = ScratchFile();
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    fwrite(data, 1, size, file);
    fclose(file);

    Orvex_cIniReader reader;
    DynamicRow tree = reader.ReadIni(Orvex_string(path.c_str()));

    // One root knot; under it only knots, each holding only parameters.
    unsigned int root = tree.TopId(0);
    if (root == 0 || tree.NextId(root) != 0 || !tree.IsKnot(root))
        abort();
    if (tree.iCountParams(root) != 0)
        abort();
    int knots = 0;
    for (unsigned int block = tree.TopId(root); block; block = tree.NextId(block)) {
        ++knots;
        if (tree.iCountKnots(block) != 0 || tree.iLookName(block).empty())
            abort();
        // Every piece read is at most 254 bytes, so no name or value can be longer.
        if (tree.iLookName(block).length() > 254)
            abort();
    }
    if (knots != tree.iCountKnots(root))
        abort();

    int values[2];
    ReadSettingValues(tree, "SCREEN", values, 2);
    return 0;
}
