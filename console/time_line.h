#pragma once
// The command queue: lines typed into the console, run at a fixed point of the next frame.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

class Orvex_Camera_Manager;
class Orvex_Object_Manager;

// queue: root -> knot "TIME_LINE" (id 1) -> one parameter per queued line, oldest first. The
// console's input line appends to node 1; ProcessCommands runs and deletes every line queued
// when it starts.
class TimeLine {
public:
    TimeLine(Orvex_Camera_Manager* cameraManager, Orvex_Object_Manager* objectManager);
    virtual ~TimeLine();

    // Called once per frame by the main loop, after drawing and before the camera's step.
    void ProcessCommands();
    // Routes one line by its first word: "console", "cam_mngr"/"camera_manager",
    // "obj_mngr"/"object_manager"; any other line is echoed to the log as a comment.
    void Dispatch(Orvex_string line);

    // The routing words, in the order of the routing table; completion offers them first.
    static std::vector<std::string> RoutingWords();
    // The command words of the manager that route names (its own table's words); none for
    // "console" and for a word that routes nowhere.
    static std::vector<std::string> CommandWordsAfter(const std::string& route);

    Orvex_Camera_Manager* cameraManager;
    Orvex_Object_Manager* objectManager;
    DynamicRow queue;
    DWORD queueKnot;
};
