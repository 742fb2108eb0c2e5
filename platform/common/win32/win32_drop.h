#pragma once
// The drops behind HDROP (shellapi.h): the realization that sees files dropped makes one and
// posts WM_DROPFILES with it; DragFinish frees it.
#include <shellapi.h>

#include <string>
#include <vector>

// A new drop of these files, named in UTF-8.
HDROP win32_make_drop(const std::vector<std::string>& utf8_files);
