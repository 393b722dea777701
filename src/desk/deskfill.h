#pragma once
// A fill of the desk list between its slices: the ordered names, the image
// each item starts with, and what is to happen once the last one is in.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "desk/listmarks.h"

// While a fill inserts, the list neither paints nor recomputes its scroll
// bars at each insert, which under some systems costs a hundred times the
// insert itself: drawing is held from the first insert to the end of the
// fill, and the list then arranges itself, sets its scroll bars and paints
// once, exactly as after plain inserts.
class HeldDrawing {
  public:
    explicit HeldDrawing(HWND list) : list_(list) { SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }
    ~HeldDrawing() { End(); }
    HeldDrawing(const HeldDrawing&) = delete;
    HeldDrawing& operator=(const HeldDrawing&) = delete;
    void End() {
        if (held_) SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        held_ = false;
    }

  private:
    HWND list_;
    bool held_ = true;
};

struct DeskFill {
    explicit DeskFill(HWND list) : drawing(list) {}
    std::vector<std::wstring> names; // in desk order
    std::vector<int> images;         // the image each item starts with
    size_t next = 0;                 // the first item not inserted yet
    std::optional<ListMarks> marks;  // put back once every item is in
    bool followups = false;          // the watcher's find-after-refresh
    // The start-up fill: the items are in before the shell's first calls
    // (the generic icons), which come with the next message.
    bool startup = false;
    HeldDrawing drawing;
};

// Items inserted before the window's messages are handled again: the
// slice's inserts take well under the time a user notices.
constexpr size_t kFillSlice = 1000;
