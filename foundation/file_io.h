// Whole-file reading and writing for the foundation's files, through resolve_path.
#ifndef ORVEX_FOUNDATION_FILE_IO_H
#define ORVEX_FOUNDATION_FILE_IO_H

#include <cstddef>
#include <string>

// Reads the whole regular file at path into out. False when the path is null or empty, names
// no regular file (a folder, a device such as /dev/zero, a pipe), cannot be read, or holds more
// than limit bytes; out is then empty.
bool read_whole_file(const char* path, std::size_t limit, std::string& out);

// True when path (through resolve_path) names a regular file: what a reader may open without
// blocking on a pipe or reading a device that never ends.
bool names_regular_file(const char* path);

// 3 when data starts with the UTF-8 byte-order mark (EF BB BF) that editors on Windows put at
// the start of a text file, else 0. Readers of hand-written files skip that many bytes.
std::size_t utf8_bom_length(const char* data, std::size_t size);

// Makes the file at path hold exactly data: writes a new file beside it (same folder, a hidden
// temporary name), and only once that is complete and closed renames it over path; an existing
// file's permissions are carried over. On any failure the temporary file is removed, the old
// file (if any) is left as it was, and the answer is false.
bool replace_whole_file(const char* path, const std::string& data);

#endif
