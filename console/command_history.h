#pragma once
// The lines entered into the console in this run, for Up and Down in the input line.
#include <stddef.h>

#include <deque>
#include <string>

// At most CAPACITY lines, newest last; an empty line or one equal to the newest is not kept.
// A walk starts at the newest line and goes back one line per Older; Newer comes forward
// again, and past the newest gives the empty line. Adding a line ends the walk.
class CommandHistory {
public:
    enum { CAPACITY = 100 };

    CommandHistory();

    void Add(const std::string& line);
    // The next older line, or the oldest again once the walk has reached it. False, and line
    // untouched, when nothing has been entered.
    bool Older(std::string* line);
    // The next newer line, or "" past the newest (which ends the walk). False, and line
    // untouched, when no walk is going on.
    bool Newer(std::string* line);
    size_t Size() const { return lines.size(); }

private:
    std::deque<std::string> lines;
    size_t back;   // how many lines back the walk stands: 0 when there is no walk
};
