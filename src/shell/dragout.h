#pragma once
// Dragging items out of the desk list: the shell's data object for the
// items, and a small drop source of the program's own.

#include <windows.h>
#include <ole2.h>

#include "shell/shellobject.h"

class DeskDropSource : public IDropSource {
  public:
    // The drag is cancelled once *cancel turns true (null: never).
    explicit DeskDropSource(const bool* cancel = nullptr) : cancel_(cancel) {}
    virtual ~DeskDropSource() = default;
    DeskDropSource(const DeskDropSource&) = delete;
    DeskDropSource& operator=(const DeskDropSource&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keys) override;
    STDMETHODIMP GiveFeedback(DWORD effect) override;

    ULONG refcount = 1;

  private:
    const bool* cancel_;
};

// Runs the drag of the listed items; effect receives what DoDragDrop
// reports. Nothing starts when the shell has no data object for them. The
// drag is cancelled once *cancel turns true.
void DragItemsOut(const PathList& paths, HWND owner, DWORD* effect, const bool* cancel = nullptr);
