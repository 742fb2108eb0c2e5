#include "console/time_line.h"

#include "scene/cameras/camera_manager.h"
#include "scene/objects/object_manager.h"

TimeLine::TimeLine(Orvex_Camera_Manager* cameraManager, Orvex_Object_Manager* objectManager)
    : cameraManager(cameraManager), objectManager(objectManager)
{
    queue.fresh();
    queueKnot = queue.AddToId(0, true, "TIME_LINE");
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
    if (target == "console")
        objectManager->Report(rest, 0);
    else if (target == "cam_mngr" || target == "camera_manager")
        cameraManager->ExecuteCommand(rest);
    else if (target == "obj_mngr" || target == "object_manager")
        objectManager->ExecuteCommand(rest);
    else
        objectManager->Report(line, 2);
}
