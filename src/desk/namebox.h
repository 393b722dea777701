#pragma once
// The name box: the label-edit box of the desk list while a name is typed,
// the file it renames, whether Enter or Esc ended it, and what is to happen
// to a new or renamed item once the list shows it (its follow-up).

#include <windows.h>

#include "app/text.h"

class NameBox {
  public:
    NameBox() = default;
    NameBox(const NameBox&) = delete;
    NameBox& operator=(const NameBox&) = delete;

    // The list started a box of its own: the source is recorded first.
    bool Source(const wchar_t* source);
    void Shown(HWND box) { editwindow = box; }
    bool Open() const { return editwindow && IsWindow(editwindow); }
    HWND Box() const { return editwindow; }
    const wchar_t* SourcePath() const { return editpath; }
    // Enter (commit) or Esc: closes the box, which the list then ends.
    void Close(bool commit);
    // The list ended the edit: whether it is to be committed. The box and
    // its source are forgotten once the caller has done with them.
    bool Ended();
    void Forget() { editpath[0] = L'\0'; }

    // After the next fill of folder that begins after fillsBegun fills:
    // find name and edit its label (else select it).
    void FollowUp(const wchar_t* name, bool edit, const wchar_t* folder, unsigned fillsBegun);
    struct Due {
        const wchar_t* name = nullptr; // null: nothing is due
        bool edit = false;
    };
    // What is due at the end of a fill of folder, the fill that made
    // fillsBegun; a follow-up made for another folder is dropped.
    Due TakeFollowUp(const wchar_t* folder, unsigned fillsBegun);
    bool FollowUpWaiting() const { return editafterrefresh || selectafterrefresh; }
    void DropFollowUp() { editafterrefresh = selectafterrefresh = false; }

  private:
    HWND editwindow = nullptr;
    wchar_t editpath[kPathUnits] = L"";
    bool commitedit = false;
    wchar_t findname[kPathUnits] = L"";
    bool editafterrefresh = false;
    bool selectafterrefresh = false;
    wchar_t followfolder[kPathUnits] = L"";
    unsigned followafter = 0;
};
