#pragma once
// The multimedia timer: timeGetTime.
#include <windows.h>
