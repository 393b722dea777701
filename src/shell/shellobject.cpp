#include "shell/shellobject.h"

#include <shlobj.h>

#include "app/handles.h"

namespace {

bool EndsWithColon(const std::wstring& path) {
    return !path.empty() && path.back() == L':';
}

// A bare drive ("D:") is parsed as its root.
std::wstring Parsable(const std::wstring& path) {
    return EndsWithColon(path) ? path + L'\\' : path;
}

ShellAddressing FromDesktop(const PathList& paths) {
    ShellAddressing how;
    for (const std::wstring& path : paths)
        how.names.push_back(Parsable(path));
    return how;
}

HRESULT ParseName(IShellFolder* folder, HWND owner, const std::wstring& name, ItemIdList& list) {
    // ParseDisplayName wants a writable string.
    std::vector<wchar_t> text(name.begin(), name.end());
    text.push_back(L'\0');
    ULONG eaten = 0;
    ULONG attributes = 0;
    return folder->ParseDisplayName(owner, nullptr, text.data(), &eaten, list.put(), &attributes);
}

} // namespace

std::wstring DoubleZeroPathList(const PathList& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) {
        list += path;
        list += L'\0';
    }
    list += L'\0'; // an empty list too ends with two zeros
    return list;
}

ShellAddressing DecideAddressing(const PathList& paths) {
    if (paths.empty()) return {};
    const std::wstring& first = paths.front();
    // A bare drive or a drive root has no parent to bind to.
    if (EndsWithColon(first)) return FromDesktop(paths);
    if (first.size() >= 2 && first[first.size() - 2] == L':') return FromDesktop(paths);

    ShellAddressing how;
    how.fromdesktop = false;
    for (const std::wstring& path : paths) {
        std::size_t cut = path.rfind(L'\\');
        // No folder part, or nothing after it: such a path cannot be named
        // relative to a parent.
        if (cut == std::wstring::npos || cut + 1 == path.size()) return FromDesktop(paths);
        std::wstring parent = path.substr(0, cut);
        if (&path == &paths.front())
            how.parent = parent;
        else if (parent != how.parent)
            return FromDesktop(paths);
        how.names.push_back(path.substr(cut + 1));
    }
    how.parent = Parsable(how.parent);
    return how;
}

bool GetShellObject(const PathList& paths, REFIID iid, void** object, HWND owner) {
    if (paths.empty() || !object) return false;
    ShellAddressing how = DecideAddressing(paths);

    ComPtr<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.put()))) return false;
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return false;

    ComPtr<IShellFolder> parent;
    if (!how.fromdesktop) {
        ItemIdList parentList(allocator.get());
        if (ParseName(desktop.get(), owner, how.parent, parentList) != S_OK) return false;
        if (FAILED(desktop->BindToObject(parentList.get(), nullptr, IID_IShellFolder,
                                         parent.putVoid())) ||
            !parent)
            return false;
    }
    IShellFolder* folder = how.fromdesktop ? desktop.get() : parent.get();

    // Declared after the allocator, so freed before it is released.
    std::vector<ItemIdList> lists;
    std::vector<LPCITEMIDLIST> items;
    lists.reserve(how.names.size());
    for (const std::wstring& name : how.names) {
        lists.emplace_back(allocator.get());
        if (ParseName(folder, owner, name, lists.back()) != S_OK) return false;
        items.push_back(lists.back().get());
    }

    *object = nullptr;
    HRESULT result = folder->GetUIObjectOf(owner, static_cast<UINT>(items.size()), items.data(),
                                           iid, nullptr, object);
    if (FAILED(result) && *object) {
        // A failure that still handed back an object must not leak it.
        static_cast<IUnknown*>(*object)->Release();
        *object = nullptr;
    }
    return SUCCEEDED(result) && *object;
}
