// The viewer's command line as WinMain receives it: split the Windows way and read as options.
// A line that parses holds options inside their ranges; one that does not says why.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "core/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    CommandLine options;
    std::string error;
    const bool parsed = ParseCommandLine(line.c_str(), &options, &error);
    if (parsed == !error.empty())
        abort();
    if (parsed && (options.frames < 1 || options.frames > 10000 || options.width < 0 || options.width > 16384 ||
                   options.height < 0 || options.height > 16384 || (options.width > 0) != (options.height > 0)))
        abort();
    return 0;
}
