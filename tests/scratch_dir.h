#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

namespace orvex_test {

class ScratchDir {
public:
    explicit ScratchDir(const char* prefix = "orvex")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "_XXXXXX")).string();
        EXPECT_NE(mkdtemp(&pattern[0]), nullptr) << "no scratch folder";
        path_ = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    // The full path of name inside the folder.
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Writes text to the file name inside the folder and returns its full path.
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::string file = File(name);
        std::ofstream out(file, std::ios::binary);
        out << text;
        EXPECT_TRUE(out.good()) << file;
        return file;
    }

private:
    std::string path_;

    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
};

}  // namespace orvex_test
