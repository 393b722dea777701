#include "shell/winefallback.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>

#include "app/handles.h"
#include "app/text.h"

namespace {

std::wstring WithoutTrailingBackslash(std::wstring path) {
    // "D:\" keeps its backslash: "D:" would name the drive's current folder.
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

std::wstring ParentOf(const std::wstring& path) {
    std::size_t cut = path.rfind(L'\\');
    if (cut == std::wstring::npos) return L"";
    return WithoutTrailingBackslash(path.substr(0, cut + 1));
}

bool IsFolder(const wchar_t* path) {
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SameVolume(const wchar_t* a, const wchar_t* b) {
    wchar_t volumeA[kPathUnits];
    wchar_t volumeB[kPathUnits];
    if (!GetVolumePathNameW(a, volumeA, kPathUnits) || !GetVolumePathNameW(b, volumeB, kPathUnits))
        return false;
    return _wcsicmp(volumeA, volumeB) == 0;
}

PathList FilesOfDrop(HDROP drop) {
    PathList files;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t path[kPathUnits];
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        // A name that does not fit would be cut into another name: refuse all.
        if (length == 0 || length >= kPathUnits) return {};
        DragQueryFileW(drop, i, path, kPathUnits);
        files.push_back(path);
    }
    return files;
}

} // namespace

bool RunningOnWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

DWORD ChooseDropEffect(DWORD keys, DWORD allowed, bool sameVolume) {
    bool control = keys & MK_CONTROL;
    bool shift = keys & MK_SHIFT;
    DWORD wanted;
    if ((control && shift) || (keys & MK_ALT))
        wanted = DROPEFFECT_LINK;
    else if (control)
        wanted = DROPEFFECT_COPY;
    else if (shift)
        wanted = DROPEFFECT_MOVE;
    else
        wanted = sameVolume ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    if (allowed & wanted) return wanted;
    if (control || shift || (keys & MK_ALT)) return DROPEFFECT_NONE;
    for (DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
        if (allowed & effect) return effect;
    return DROPEFFECT_NONE;
}

PathList OutsideFolder(const PathList& paths, const wchar_t* folder) {
    std::wstring target = WithoutTrailingBackslash(folder);
    PathList outside;
    for (const std::wstring& path : paths) {
        std::wstring self = WithoutTrailingBackslash(path);
        if (_wcsicmp(ParentOf(self).c_str(), target.c_str()) == 0) continue;
        if (_wcsicmp(self.c_str(), target.c_str()) == 0) continue;
        outside.push_back(path);
    }
    return outside;
}

PathList DroppedFiles(IDataObject* data) {
    if (!data) return {};
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    StorageMedium medium;
    if (!medium.fetch(data, &format) || medium.get().tymed != TYMED_HGLOBAL) return {};
    return FilesOfDrop(static_cast<HDROP>(medium.get().hGlobal));
}

std::wstring CopyName(const std::wstring& name, bool folder, int number) {
    std::size_t dot = folder ? std::wstring::npos : name.rfind(L'.');
    if (dot == 0) dot = std::wstring::npos; // ".profile" has no extension
    std::wstring stem = name.substr(0, dot);
    std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    std::wstring copy = stem + L" - Copy";
    if (number > 1) copy += L" (" + std::to_wstring(number) + L")";
    return copy + extension;
}

bool TransferFiles(HWND owner, const PathList& files, const wchar_t* folder, bool move,
                   bool renameOnCollision) {
    if (files.empty()) return false;
    // Each file gets its own destination: Wine's file operation neither
    // renames on collision nor always moves several files into one folder.
    PathList targets;
    for (const std::wstring& file : files) {
        std::wstring name = file.substr(file.rfind(L'\\') + 1);
        bool isFolder = IsFolder(file.c_str());
        wchar_t target[kPathUnits];
        bool fits = JoinPath(target, folder, name.c_str());
        for (int number = 1; fits && renameOnCollision && number < 100; ++number) {
            bool taken = GetFileAttributesW(target) != INVALID_FILE_ATTRIBUTES;
            for (const std::wstring& chosen : targets)
                taken = taken || _wcsicmp(chosen.c_str(), target) == 0;
            if (!taken) break;
            fits = JoinPath(target, folder, CopyName(name, isFolder, number).c_str());
        }
        if (!fits) return false; // never a name cut into another
        targets.push_back(target);
    }
    std::wstring from = DoubleZeroPathList(files);
    std::wstring to = DoubleZeroPathList(targets);
    SHFILEOPSTRUCTW operation = {};
    operation.hwnd = owner;
    operation.wFunc = move ? FO_MOVE : FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags =
        FOF_ALLOWUNDO | FOF_MULTIDESTFILES | (renameOnCollision ? FOF_RENAMEONCOLLISION : 0);
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

bool PasteClipboardFiles(HWND owner, const wchar_t* folder) {
    PathList files;
    bool move = false;
    {
        // Read and closed before the transfer, which may show dialogs.
        ClipboardSession clipboard(owner);
        if (!clipboard.ok()) return false;
        HANDLE drop = GetClipboardData(CF_HDROP);
        if (!drop) return false;
        files = FilesOfDrop(static_cast<HDROP>(drop));
        HANDLE preferred = GetClipboardData(RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT));
        GlobalLockHolder effect(preferred);
        if (effect.size() >= sizeof(DWORD)) {
            DWORD value = *static_cast<const DWORD*>(effect.get());
            move = (value & DROPEFFECT_MOVE) && !(value & DROPEFFECT_COPY);
        }
    }
    // Cut and pasted into their own folder: nothing to move.
    if (move) files = OutsideFolder(files, folder);
    if (files.empty()) return false;
    if (!TransferFiles(owner, files, folder, move, true)) return false;
    // As after the shell's own paste of a cut: the moved files are gone
    // from where the clipboard names them.
    if (move) {
        ClipboardSession clipboard(owner);
        if (clipboard.ok()) EmptyClipboard();
    }
    return true;
}

bool MarkClipboardAsCut(HWND owner) {
    UINT preferred = RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT);
    ClipboardSession clipboard(owner);
    if (!clipboard.ok() || !IsClipboardFormatAvailable(CF_HDROP) ||
        IsClipboardFormatAvailable(preferred))
        return false;
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD)));
    {
        GlobalLockHolder data(block.get());
        if (!data.get()) return false;
        *static_cast<DWORD*>(data.get()) = DROPEFFECT_MOVE;
    }
    if (!SetClipboardData(preferred, block.get())) return false;
    block.release(); // the clipboard owns it now
    return true;
}

WineDrop PlanWineDrop(IDataObject* data, DWORD keys, DWORD allowed, const wchar_t* folder) {
    WineDrop plan;
    if (!RunningOnWine() || !IsFolder(folder)) return plan;
    PathList files = DroppedFiles(data);
    if (files.empty()) return plan;
    DWORD effect = ChooseDropEffect(keys, allowed, SameVolume(files.front().c_str(), folder));
    // Links are left to the shell.
    if (effect != DROPEFFECT_COPY && effect != DROPEFFECT_MOVE) return plan;
    plan.applies = true;
    plan.files = OutsideFolder(files, folder);
    plan.effect = plan.files.empty() ? DROPEFFECT_NONE : effect;
    return plan;
}
