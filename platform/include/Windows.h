#pragma once
// <Windows.h>, the spelling most Windows programs use: the same header as <windows.h>, which a
// case-sensitive file system needs under both names.
#include "windows.h"
