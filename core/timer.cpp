#include "core/timer.h"

void Timer::Start()
{
    held = false;
    DWORD now = timeGetTime();
    startTime = now;
    referenceTime = now;
}

DWORD Timer::Elapsed()
{
    return (DWORD)(timeGetTime() - referenceTime);
}
