#pragma once
// Small owners for the handles and COM pointers the program holds. Each is
// non-copyable and movable, and releases its handle on every path out.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <utility>

template <typename Traits> class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::invalid(); }

    Handle release() { return std::exchange(handle_, Traits::invalid()); }
    void reset(Handle handle = Traits::invalid()) {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::invalid()) Traits::close(old);
    }

  private:
    Handle handle_ = Traits::invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { CloseHandle(h); }
};
// CreateFileW and FindFirstFileW report failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { CloseHandle(h); }
};
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { FindClose(h); }
};
struct ChangeNotificationTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { FindCloseChangeNotification(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyMenu(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyIcon(h); }
};
struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyWindow(h); }
};
struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { ImageList_Destroy(h); }
};
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { LocalFree(h); }
};
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { GlobalFree(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DeleteDC(h); }
};
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};

struct LibraryTraits {
    using Handle = HMODULE;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { FreeLibrary(h); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using ChangeNotification = UniqueHandle<ChangeNotificationTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;
using IconHandle = UniqueHandle<IconTraits>;
using WindowHandle = UniqueHandle<WindowTraits>;
using ImageListHandle = UniqueHandle<ImageListTraits>;
using LocalMemory = UniqueHandle<LocalMemoryTraits>;
using GdiObject = UniqueHandle<GdiObjectTraits>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;
using Library = UniqueHandle<LibraryTraits>;

// One reference on a COM interface.
template <typename T> class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    // For out-parameters: drops any held reference first.
    T** put() {
        reset();
        return &ptr_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // Hands the reference to a caller that will release it.
    T* detach() { return std::exchange(ptr_, nullptr); }
    void reset() {
        if (T* old = std::exchange(ptr_, nullptr)) old->Release();
    }

  private:
    T* ptr_ = nullptr;
};

// An item-ID list allocated by the shell, freed with the shell's allocator.
class ItemIdList {
  public:
    explicit ItemIdList(IMalloc* allocator) : allocator_(allocator) {}
    ~ItemIdList() { reset(); }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    ItemIdList(ItemIdList&& other) noexcept
        : allocator_(other.allocator_), list_(std::exchange(other.list_, nullptr)) {}

    LPITEMIDLIST get() const { return list_; }
    LPITEMIDLIST* put() {
        reset();
        return &list_;
    }
    explicit operator bool() const { return list_ != nullptr; }
    void reset() {
        if (list_ && allocator_) allocator_->Free(list_);
        list_ = nullptr;
    }

  private:
    IMalloc* allocator_;
    LPITEMIDLIST list_ = nullptr;
};

// OleUninitialize is owed only after an OleInitialize that succeeded.
class OleSession {
  public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (ok_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    bool ok() const { return ok_; }

  private:
    bool ok_;
};

// CoUninitialize is owed only after a CoInitialize that succeeded (S_OK or
// S_FALSE): on a thread already in the multithreaded apartment CoInitialize
// fails, and uninitialising then would end the caller's COM.
class ComSession {
  public:
    ComSession() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComSession() {
        if (ok_) CoUninitialize();
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;
    bool ok() const { return ok_; }

  private:
    bool ok_;
};

// A window procedure replaced for as long as the holder lives, and put back
// afterwards.
class WindowProcSwap {
  public:
    WindowProcSwap(HWND window, WNDPROC procedure)
        : window_(window), previous_(reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                               window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)))) {}
    ~WindowProcSwap() {
        if (previous_)
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }
    WindowProcSwap(const WindowProcSwap&) = delete;
    WindowProcSwap& operator=(const WindowProcSwap&) = delete;
    WNDPROC previous() const { return previous_; }

  private:
    HWND window_;
    WNDPROC previous_;
};

// The clipboard, open for this thread until the holder ends.
class ClipboardSession {
  public:
    explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool ok() const { return open_; }

  private:
    bool open_;
};

// A global memory block locked until the holder ends; the block itself
// belongs to whoever handed it over.
class GlobalLockHolder {
  public:
    explicit GlobalLockHolder(HGLOBAL block)
        : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockHolder() {
        if (data_) GlobalUnlock(block_);
    }
    GlobalLockHolder(const GlobalLockHolder&) = delete;
    GlobalLockHolder& operator=(const GlobalLockHolder&) = delete;
    void* get() const { return data_; }
    SIZE_T size() const { return data_ ? GlobalSize(block_) : 0; }

  private:
    HGLOBAL block_;
    void* data_;
};

// A storage medium obtained from a data object, released with it.
class StorageMedium {
  public:
    StorageMedium() = default;
    ~StorageMedium() {
        if (filled_) ReleaseStgMedium(&medium_);
    }
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;
    bool fetch(IDataObject* data, FORMATETC* format) {
        if (filled_) ReleaseStgMedium(&medium_);
        filled_ = SUCCEEDED(data->GetData(format, &medium_));
        return filled_;
    }
    const STGMEDIUM& get() const { return medium_; }

  private:
    STGMEDIUM medium_ = {};
    bool filled_ = false;
};
