#include "common/win32/win32_drop.h"

#include <set>

#include "common/text/cp1251.h"

namespace {

struct Drop {
    std::vector<std::string> files;
};

// Live drops only, so that a stale or made-up handle is recognised without being followed.
std::set<Drop*>& live_drops()
{
    static std::set<Drop*> drops;
    return drops;
}

Drop* find(HDROP handle)
{
    Drop* drop = reinterpret_cast<Drop*>(handle);
    return live_drops().count(drop) ? drop : nullptr;
}

std::u16string utf16_of(const std::string& utf8)
{
    std::u16string out;
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char c = (unsigned char)utf8[i];
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool ok = extra >= 0 && i + size_t(extra) < utf8.size();
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char next = (unsigned char)utf8[i + size_t(k)];
            ok = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!ok || cp > 0x10FFFF) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        i += size_t(extra) + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return out;
}

template <class Char, class Text>
UINT copy_name(const Text& name, Char* out, UINT cch)
{
    if (!out)
        return UINT(name.size());
    if (cch == 0)
        return 0;
    const UINT n = name.size() < cch - 1 ? UINT(name.size()) : cch - 1;
    for (UINT i = 0; i < n; ++i)
        out[i] = Char(name[i]);
    out[n] = 0;
    return n;
}

// The name of file iFile of the drop, or null with *answer what DragQueryFile then answers: the
// number of files for iFile 0xFFFFFFFF, otherwise 0.
const std::string* file_of(HDROP handle, UINT iFile, UINT* answer)
{
    Drop* drop = find(handle);
    *answer = drop && iFile == 0xFFFFFFFFu ? UINT(drop->files.size()) : 0;
    return drop && iFile < drop->files.size() ? &drop->files[iFile] : nullptr;
}

}  // namespace

HDROP win32_make_drop(const std::vector<std::string>& utf8_files)
{
    Drop* drop = new Drop{utf8_files};
    live_drops().insert(drop);
    return reinterpret_cast<HDROP>(drop);
}

extern "C" {

UINT WINAPI DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch)
{
    UINT count = 0;
    const std::string* file = file_of(hDrop, iFile, &count);
    return file ? copy_name(cp1251::from_utf8(file->c_str()), lpszFile, cch) : count;
}

UINT WINAPI DragQueryFileW(HDROP hDrop, UINT iFile, LPWSTR lpszFile, UINT cch)
{
    UINT count = 0;
    const std::string* file = file_of(hDrop, iFile, &count);
    return file ? copy_name(utf16_of(*file), lpszFile, cch) : count;
}

VOID WINAPI DragFinish(HDROP hDrop)
{
    Drop* drop = find(hDrop);
    if (!drop)
        return;
    live_drops().erase(drop);
    delete drop;
}

}  // extern "C"
