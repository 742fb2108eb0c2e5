#pragma once
// A manager's table of console commands: the word a command line starts with and what it runs.
// The manager's ExecuteCommand and the console's completion both read the one table, so a
// command added to it is run and offered at once.
#include <string>
#include <vector>

#include "foundation/orvex_string.h"

template <class Manager>
struct ConsoleCommand {
    const char* word;     // offered by completion
    const char* alias;    // a second spelling that runs the same command, or null
    void (*run)(Manager& manager, const Orvex_string& argument);
};

// Runs the first command of the table whose word or alias equals word, with argument; false,
// and nothing runs, when there is none.
template <class Manager, size_t N>
bool RunConsoleCommand(const ConsoleCommand<Manager> (&table)[N], Manager& manager,
                       const Orvex_string& word, const Orvex_string& argument)
{
    for (const ConsoleCommand<Manager>& command : table) {
        if (word == command.word || (command.alias && word == command.alias)) {
            command.run(manager, argument);
            return true;
        }
    }
    return false;
}

// The table's words in its order, without the aliases.
template <class Manager, size_t N>
std::vector<std::string> ConsoleCommandWords(const ConsoleCommand<Manager> (&table)[N])
{
    std::vector<std::string> words;
    for (const ConsoleCommand<Manager>& command : table)
        words.push_back(command.word);
    return words;
}
