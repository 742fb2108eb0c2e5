#pragma once
// What tells an effect file's versions apart: its modification time and size.
#include <cstdint>

struct EffectFileStamp {
    bool found;             // false when the file could not be read for its time and size
    std::int64_t modified;  // the file system's own time count; only compared for equality
    std::uintmax_t size;    // bytes

    bool operator==(const EffectFileStamp& other) const
    {
        return found == other.found && modified == other.modified && size == other.size;
    }
    bool operator!=(const EffectFileStamp& other) const { return !(*this == other); }
};

// The stamp of the file at path, a path as the level writes it (through resolve_path). A
// missing or unreadable file gives {false, 0, 0}. Never throws.
EffectFileStamp StampEffectFile(const char* path);
