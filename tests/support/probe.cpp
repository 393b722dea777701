// A stand-in for the user's tools: appends its command line and working
// folder, as one line "command line|folder", to probe.log beside itself.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t module[MAX_PATH] = L"";
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    std::wstring log(module);
    log = log.substr(0, log.find_last_of(L'\\')) + L"\\probe.log";
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring line = std::wstring(GetCommandLineW()) + L"|" + folder + L"\r\n";
    FILE* file = _wfopen(log.c_str(), L"ab");
    if (!file) return 1;
    fwrite(line.data(), sizeof(wchar_t), line.size(), file);
    fclose(file);
    return 0;
}
