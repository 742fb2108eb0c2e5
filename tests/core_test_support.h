#pragma once
// Files and folders for the core and console tests: each test works in its own scratch folder.
#include <gtest/gtest.h>

#include <string>

namespace orvex_test {

// A fresh, empty folder under the build's temporary area, unique to the running test and name.
std::string MakeScratchFolder(const std::string& name);
// chdir into folder, remembering where we were; LeaveFolder goes back.
void EnterFolder(const std::string& folder);
void LeaveFolder();

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
void MakeFolder(const std::string& path);
// Copies the files of the checkout's data/ that the named paths list (relative to data/).
void CopyFromData(const std::string& folder, const std::string& relativePath);

// Compares text whole with the golden record tests/golden/<name>; a difference fails with the
// first differing line. With ORVEX_WRITE_GOLDEN=1 in the environment the record is rewritten.
::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& text);
// Bytes outside printable ASCII as \xNN, so records stay readable text.
std::string Printable(const std::string& bytes);

}  // namespace orvex_test
