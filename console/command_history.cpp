#include "console/command_history.h"

CommandHistory::CommandHistory() : back(0) {}

void CommandHistory::Add(const std::string& line)
{
    back = 0;
    if (line.empty() || (!lines.empty() && lines.back() == line))
        return;
    lines.push_back(line);
    if (lines.size() > CAPACITY)
        lines.pop_front();
}

bool CommandHistory::Older(std::string* line)
{
    if (lines.empty())
        return false;
    if (back < lines.size())
        ++back;
    *line = lines[lines.size() - back];
    return true;
}

bool CommandHistory::Newer(std::string* line)
{
    if (back == 0)
        return false;
    --back;
    *line = back == 0 ? std::string() : lines[lines.size() - back];
    return true;
}
