// Bytes from outside (a command line, a file name) through the code-page conversions: any input
// converts without reading or writing past a buffer, a size query agrees with the conversion,
// and well-formed UTF-8 comes back unchanged from the round trip.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include <windows.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 4096) return 0;
    const char* bytes = reinterpret_cast<const char*>(data);
    for (UINT page : {(UINT)CP_UTF8, (UINT)CP_ACP}) {
        int needed = MultiByteToWideChar(page, 0, bytes, (int)size, nullptr, 0);
        std::vector<WCHAR> wide(needed > 0 ? needed : 1);
        int written = MultiByteToWideChar(page, 0, bytes, (int)size, wide.data(), needed);
        if (written != needed) abort();
        if (written > 1 && MultiByteToWideChar(page, 0, bytes, (int)size, wide.data(), written - 1) != 0) abort();
        int back_needed = WideCharToMultiByte(page, 0, wide.data(), written, nullptr, 0, nullptr, nullptr);
        std::string back(back_needed > 0 ? back_needed : 1, '\0');
        int back_written = WideCharToMultiByte(page, 0, wide.data(), written, &back[0], back_needed, nullptr, nullptr);
        if (back_written != back_needed) abort();
        // Code page 1251 holds every byte; UTF-8 comes back whole unless it was malformed.
        bool replaced = false;
        for (int i = 0; i < written; ++i) replaced = replaced || wide[i] == 0xFFFD;
        if ((page == CP_ACP || !replaced) && back.compare(0, back_written, bytes, size) != 0) abort();
    }
    return 0;
}
