#pragma once
// Direct3D 9: to be filled in by the device work.
#include <windows.h>
