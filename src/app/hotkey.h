#pragma once
// A system-wide key, named in the settings as text such as "Ctrl+Alt+D" or
// "Win+Shift+F12": the modifiers Ctrl, Alt, Shift and Win joined by "+",
// then one key. Names are read without regard to case; blanks around a name
// are passed over.

#include <windows.h>

#include <optional>

struct HotKey {
    UINT modifiers; // MOD_CONTROL, MOD_ALT, MOD_SHIFT, MOD_WIN
    UINT key;       // the virtual key
    bool operator==(const HotKey&) const = default;
};

// The key the text names, or nothing for a text that names none: an unknown
// name, no modifier, a modifier twice, no key or more than one.
std::optional<HotKey> ParseHotKey(const wchar_t* text);

// A system-wide key registered for a window, released when this goes.
class RegisteredHotKey {
  public:
    RegisteredHotKey() = default;
    ~RegisteredHotKey() { release(); }
    RegisteredHotKey(const RegisteredHotKey&) = delete;
    RegisteredHotKey& operator=(const RegisteredHotKey&) = delete;

    // Registers the key the text names under id; false, holding nothing,
    // when the text names none or another program holds the key.
    bool take(HWND window, int id, const wchar_t* text);
    void release();
    bool held() const { return window_ != nullptr; }

  private:
    HWND window_ = nullptr;
    int id_ = 0;
};
