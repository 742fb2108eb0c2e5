// The one place where a path written for Windows becomes a path of the machine we run on.
//
// Level files, object files and settings name files the Windows way: "textures\_def\Blue.bmp",
// "Quillon2.0\loaded_parameters", with any mix of upper and lower case. Every file the program
// opens (trees, textures, meshes, effects, the cursor) goes through resolve_path first.
#ifndef ORVEX_FOUNDATION_FILE_PATH_H
#define ORVEX_FOUNDATION_FILE_PATH_H

#include <string>

// Answers the path to open for path.
//
// On Windows the path is answered unchanged.
// Elsewhere every '\' becomes '/'. When the converted path names an existing file or folder it
// is the answer. Otherwise the path is followed one component at a time from the working
// directory (or from '/' for an absolute path): a component that exists as written is taken as
// it is; one that does not is matched against the folder's entries without regard to ASCII
// case, and when several entries match, the first in byte order is taken. At the first component
// that matches nothing, the rest is appended as converted, so the answer for a file that does
// not exist yet is where it would be created: "quillon2.0\new_file" gives
// "Quillon2.0/new_file" when the folder "Quillon2.0" exists.
// A null or empty path gives "". Never throws for a missing or unreadable folder.
std::string resolve_path(const char* path);

#endif
