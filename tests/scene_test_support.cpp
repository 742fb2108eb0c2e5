#include "scene_test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <ostream>

#include "call_log.h"

namespace scene_test {

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvex_scene_XXXXXX").string();
    char* made = mkdtemp(&pattern[0]);
    EXPECT_NE(made, nullptr);
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::Write(const std::string& name, const std::string& text) const {
    std::string file = path_ + "/" + name;
    std::ofstream out(file, std::ios::binary);
    out << text;
    EXPECT_TRUE(out.good()) << file;
    return file;
}

DynamicRow Tree(const std::string& text) {
    DynamicRow tree;
    tree.fresh();
    EXPECT_TRUE(tree.LoadFromText(text.data(), text.size())) << text;
    return tree;
}

std::vector<Message> Messages(Console& console) {
    std::vector<Message> messages;
    unsigned line = console.log.TopId(console.logKnot);
    if (line >= 1) line = console.log.NextId(line);   // the start-up line
    for (; line >= 1; line = console.log.NextId(line)) {
        std::string text = console.log.iLookName(line).getChars();
        size_t stamp = text.find("] ");
        if (stamp != std::string::npos) text.erase(0, stamp + 2);
        unsigned category = console.log.TopId(line);
        messages.push_back(
            {text, category >= 1 ? console.log.iLookName(category).getChars() : std::string()});
    }
    return messages;
}

std::vector<std::string> Texts(Console& console, const char* category) {
    std::vector<std::string> texts;
    for (const Message& m : Messages(console))
        if (m.category == category) texts.push_back(m.text);
    return texts;
}

std::vector<std::string> CallLog() { return orvex_headless::call_log(); }

void ClearCallLog() { orvex_headless::clear_call_log(); }

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
    std::vector<std::string> calls;
    for (const std::string& line : orvex_headless::call_log())
        if (line.compare(0, prefix.size(), prefix) == 0) calls.push_back(line);
    return calls;
}

}  // namespace scene_test

std::ostream& operator<<(std::ostream& out, const scene_test::Message& message) {
    return out << "{\"" << message.text << "\", " << message.category << "}";
}
