#include "console/time_line.h"

#include <cstring>

#include "console/console_style.h"
#include "scene/cameras/camera_manager.h"
#include "scene/objects/object_manager.h"

namespace {

enum Receiver { TO_CAMERAS, TO_OBJECTS, TO_CONSOLE };

// The first word of a command line and the receiver it names.
struct Route {
    const char* word;
    Receiver receiver;
};
const Route kRoutes[] = {
    {"cam_mngr", TO_CAMERAS}, {"camera_manager", TO_CAMERAS},
    {"obj_mngr", TO_OBJECTS}, {"object_manager", TO_OBJECTS},
    {"console", TO_CONSOLE},
};

const Route* FindRoute(const char* word)
{
    for (const Route& route : kRoutes)
        if (std::strcmp(route.word, word) == 0)
            return &route;
    return nullptr;
}

}  // namespace

TimeLine::TimeLine(Orvex_Camera_Manager* cameraManager, Orvex_Object_Manager* objectManager)
    : cameraManager(cameraManager), objectManager(objectManager),
      queueKnot(queue.AddToId(0, true, "TIME_LINE"))
{
}

TimeLine::~TimeLine() {}

void TimeLine::ProcessCommands()
{
    if (queue.NodeCount() <= 1)
        return;
    int count = queue.iCountParams(queueKnot);
    for (int i = 0; i < count; ++i) {
        DWORD line = queue.TopId(queueKnot);
        if (line == 0)
            continue;
        Dispatch(queue.iLookName(line));
        queue.DeleteById(line);
    }
}

void TimeLine::Dispatch(Orvex_string line)
{
    Orvex_string target;
    Orvex_string rest;
    line.DivideTwoParameters(target, rest);
    const Route* route = FindRoute(target.getChars());
    if (!route) {
        objectManager->Report(line, CONSOLE_COMMENT);
        return;
    }
    switch (route->receiver) {
    case TO_CONSOLE:
        objectManager->Report(rest, CONSOLE_TEXT);
        break;
    case TO_CAMERAS:
        cameraManager->ExecuteCommand(rest);
        break;
    case TO_OBJECTS:
        objectManager->ExecuteCommand(rest);
        break;
    }
}

std::vector<std::string> TimeLine::RoutingWords()
{
    std::vector<std::string> words;
    for (const Route& route : kRoutes)
        words.push_back(route.word);
    return words;
}

std::vector<std::string> TimeLine::CommandWordsAfter(const std::string& word)
{
    const Route* route = FindRoute(word.c_str());
    if (!route || route->receiver == TO_CONSOLE)
        return std::vector<std::string>();
    return route->receiver == TO_CAMERAS ? Orvex_Camera_Manager::CommandWords()
                                         : Orvex_Object_Manager::CommandWords();
}
