#include "scene/effects/effect_file_stamp.h"

#include <filesystem>
#include <system_error>

#include "foundation/file_path.h"

namespace fs = std::filesystem;

EffectFileStamp StampEffectFile(const char* path)
{
    const EffectFileStamp none = {false, 0, 0};
    const std::string resolved = resolve_path(path);
    if (resolved.empty())
        return none;
    std::error_code error;
    const fs::file_time_type modified = fs::last_write_time(resolved, error);
    if (error)
        return none;
    const std::uintmax_t size = fs::file_size(resolved, error);
    if (error)
        return none;
    return {true, (std::int64_t)modified.time_since_epoch().count(), size};
}
