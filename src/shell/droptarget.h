#pragma once
// The main window's OLE drop target. The AppState derives from it; the
// object's life belongs to the main window, not to its reference count.
// Each drag position is handed to the shell's own drop target for the path
// under the cursor, which chooses the effect and does the work.

#include <windows.h>
#include <ole2.h>

#include "app/text.h"

class DropTarget : public IDropTarget {
  public:
    explicit DropTarget(HWND window);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    virtual ~DropTarget();
    // The full path under a screen point: the item hit, or the desk folder.
    virtual void PathAtPoint(POINTL point, wchar_t* out) = 0;

    ULONG refcount;
    IDataObject* dataobject;
    IDropTarget* droptarget;
    wchar_t droppath[kPathUnits];

  private:
    // Ends the held shell target with its DragLeave; S_OK when none is held.
    HRESULT EndHeldTarget();

    HWND ownerwindow; // owns the dialogs of a transfer done under Wine
};
