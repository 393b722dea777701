#pragma once
// The shell's file operations take their paths as one buffer: each path ends
// with a zero and the list with a second one.

#include <string>
#include <vector>

std::vector<wchar_t> DoubleZeroPathList(const std::vector<std::wstring>& paths);
