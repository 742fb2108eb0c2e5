#include "console/command_completion.h"

#include "console/time_line.h"

namespace {

std::string CommonBeginning(const std::vector<std::string>& words)
{
    std::string common = words.front();
    for (const std::string& word : words) {
        size_t n = 0;
        while (n < common.size() && n < word.size() && common[n] == word[n])
            ++n;
        common.resize(n);
    }
    return common;
}

}  // namespace

Completion CompleteCommandLine(const std::string& line)
{
    Completion result;
    result.line = line;
    const size_t blank = line.find(' ');
    std::vector<std::string> words;
    if (blank == std::string::npos) {
        words = TimeLine::RoutingWords();
    } else {
        const size_t second = line.find_first_not_of(' ', blank);
        if (second != std::string::npos && line.find(' ', second) != std::string::npos)
            return result;
        words = TimeLine::CommandWordsAfter(line.substr(0, blank));
    }
    const size_t lastBlank = line.find_last_of(' ');
    const size_t start = lastBlank == std::string::npos ? 0 : lastBlank + 1;
    const std::string typed = line.substr(start);
    for (const std::string& word : words)
        if (word.compare(0, typed.size(), typed) == 0)
            result.candidates.push_back(word);
    if (result.candidates.empty())
        return result;
    if (result.candidates.size() == 1)
        result.line = line.substr(0, start) + result.candidates.front() + " ";
    else
        result.line = line.substr(0, start) + CommonBeginning(result.candidates);
    return result;
}
