// Text at the toolkit's edges: windows hold UTF-16, the portable core UTF-8.
#pragma once

#include <string>

std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);

// The folder that holds the running executable, with a trailing backslash.
std::wstring ExeFolder();

// The system's text for an error code (GetLastError), without a trailing line break.
std::wstring SystemErrorText(unsigned long code);
