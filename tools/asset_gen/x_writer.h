#pragma once
// Writes an X_File as a DirectX .x file, text ("xof 0303txt 0032") or binary
// ("xof 0303bin 0032", 32-bit floats). The same file gives the same bytes every time.
#include "x_mesh.h"

#include <string>

std::string write_x_text(const X_File& file);
std::string write_x_binary(const X_File& file);
