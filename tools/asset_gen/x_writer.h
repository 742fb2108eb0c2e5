#pragma once
// Writes an X_File as a DirectX .x file, text ("xof 0303txt 0032") or binary
// ("xof 0303bin 0032", 32-bit floats). The same file gives the same bytes every time.
#include "x_mesh.h"

#include <string>

std::string write_x_text(const X_File& file);
std::string write_x_binary(const X_File& file);
// The compressed form of a file from write_x_text or write_x_binary: the header becomes
// "xof 0303tzip0032" or "xof 0303bzip0032", followed by the size of the whole uncompressed file
// and MSZIP blocks (each at most 32 KiB uncompressed, deflated with the previous block as its
// dictionary).
std::string compress_x(const std::string& plain);
