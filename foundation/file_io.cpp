#include "foundation/file_io.h"

#include "foundation/file_path.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Only regular files: opening a pipe would block and a device may never end.
bool is_regular(const std::string& resolved)
{
    std::error_code error;
    return fs::is_regular_file(fs::status(resolved, error)) && !error;
}

}  // namespace

bool read_whole_file(const char* path, std::size_t limit, std::string& out)
{
    out.clear();
    const std::string resolved = resolve_path(path);  // "" for a null or empty path
    if (!is_regular(resolved))
        return false;
    std::error_code error;
    // Refuse an oversized file before reading it; the read below checks again as it goes.
    const std::uintmax_t size = fs::file_size(resolved, error);
    if (error || size > limit)
        return false;
    std::FILE* file = std::fopen(resolved.c_str(), "rb");
    if (!file)
        return false;
    char chunk[65536];
    bool ok = true;
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (got > limit - out.size()) {
            ok = false;
            break;
        }
        out.append(chunk, got);
        if (got < sizeof chunk) {
            ok = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    if (!ok)
        out.clear();
    return ok;
}

bool names_regular_file(const char* path)
{
    return path && *path && is_regular(resolve_path(path));
}

std::size_t utf8_bom_length(const char* data, std::size_t size)
{
    return size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

namespace {

// A name in the target's folder that no one else uses, opened for writing.
std::FILE* createTemporary(const std::string& target, std::string& name)
{
    const fs::path targetPath(target);
    // Keep the name within the 255 bytes most file systems allow, however long the target's is.
    const std::string base = "." + targetPath.filename().string().substr(0, 200) + ".";
    static unsigned long counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned long long stamp =
            static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, "%llx%lx.tmp", stamp & 0xFFFFFFFFFFull, ++counter);
        name = (targetPath.parent_path() / (base + suffix)).string();
#ifdef _WIN32
        std::FILE* file = std::fopen(name.c_str(), "wb");
#else
        std::FILE* file = std::fopen(name.c_str(), "wbx");  // never take over an existing file
#endif
        if (file || errno != EEXIST)
            return file;
    }
    return nullptr;
}

}  // namespace

bool replace_whole_file(const char* path, const std::string& data)
{
    if (!path || !*path)
        return false;
    const std::string target = resolve_path(path);
    std::string temporary;
    std::FILE* file = createTemporary(target, temporary);
    if (!file)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    ok = std::fflush(file) == 0 && ok;
    ok = !std::ferror(file) && ok;
    ok = std::fclose(file) == 0 && ok;

    std::error_code error;
    if (ok) {
        const fs::file_status old = fs::status(target, error);
        if (!error && fs::is_regular_file(old))
            fs::permissions(temporary, old.permissions(), error);
        fs::rename(temporary, target, error);
        ok = !error;
    }
    if (!ok)
        fs::remove(temporary, error);
    return ok;
}
