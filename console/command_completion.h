#pragma once
// Tab in the console: the word at the end of a command line completed from the routing words
// and, after a routing word, from its manager's command words.
#include <string>
#include <vector>

struct Completion {
    std::string line;                     // the line completed as far as the candidates agree
    std::vector<std::string> candidates;  // every word that begins with the typed part
};

// The first word of line is completed from TimeLine's routing words; a second word, after a
// routing word and blanks, from that manager's commands; any later word has no candidates.
// With one candidate the word is completed and a blank added; with several it is extended to
// their longest common beginning; with none line comes back unchanged.
Completion CompleteCommandLine(const std::string& line);
