#include "foundation/file_path.h"

#ifndef _WIN32

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

bool exists(const std::string& path)
{
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

// The entry of folder whose name equals component ignoring case; "" when none does.
std::string findEntry(const std::string& folder, const std::string& component)
{
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? std::string(".") : folder, error);
    std::vector<std::string> matches;
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (sameIgnoringCase(name, component))
            matches.push_back(std::move(name));
    }
    if (matches.empty())
        return std::string();
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::string resolve_path(const char* path)
{
    if (!path || !*path)
        return std::string();
    std::string converted(path);
    std::replace(converted.begin(), converted.end(), '\\', '/');
    if (exists(converted))
        return converted;

    std::string resolved;  // the part followed so far, ending in '/' unless empty
    std::size_t pos = 0;
    if (converted[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    while (pos <= converted.size()) {
        std::size_t end = converted.find('/', pos);
        const bool last = end == std::string::npos;
        if (last)
            end = converted.size();
        const std::string component = converted.substr(pos, end - pos);
        std::string taken = component;
        if (!component.empty() && component != "." && component != ".." &&
            !exists(resolved + component)) {
            taken = findEntry(resolved, component);
            if (taken.empty())
                return resolved + converted.substr(pos);
        }
        resolved += taken;
        if (last)
            break;
        resolved += '/';
        pos = end + 1;
    }
    return resolved;
}

#else

std::string resolve_path(const char* path) { return path ? std::string(path) : std::string(); }

#endif
