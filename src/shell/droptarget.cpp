#include "shell/droptarget.h"

#include <cstring>

#include "shell/shellobject.h"
#include "shell/winefallback.h"

DropTarget::DropTarget(HWND window)
    : refcount(1), dataobject(nullptr), droptarget(nullptr), ownerwindow(window) {
    std::memset(droppath, 0, sizeof droppath);
}

DropTarget::~DropTarget() {
    EndHeldTarget();
}

STDMETHODIMP DropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DropTarget::AddRef() {
    return ++refcount;
}

// Never frees: the main window owns the object.
STDMETHODIMP_(ULONG) DropTarget::Release() {
    return --refcount;
}

HRESULT DropTarget::EndHeldTarget() {
    if (!droptarget) return S_OK;
    IDropTarget* target = droptarget;
    droptarget = nullptr;
    HRESULT result = target->DragLeave();
    target->Release();
    return result;
}

// The real target depends on the position: it is found on each DragOver.
STDMETHODIMP DropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    dataobject = data;
    if (effect) *effect = DROPEFFECT_NONE;
    return S_OK;
}

STDMETHODIMP DropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    DWORD allowed = *effect;
    droppath[0] = L'\0';
    PathAtPoint(point, droppath);
    // Only one shell target is held at a time, always the one for this position.
    EndHeldTarget();
    if (droppath[0] != L'\0' &&
        GetShellObject({droppath}, IID_IDropTarget, reinterpret_cast<void**>(&droptarget),
                       ownerwindow)) {
        HRESULT result = droptarget->DragEnter(dataobject, keys, point, effect);
        if (SUCCEEDED(result)) result = droptarget->DragOver(keys, point, effect);
        if (SUCCEEDED(result)) {
            WineDrop plan = PlanWineDrop(dataobject, keys, allowed, droppath);
            if (plan.applies) *effect = plan.effect;
            return result;
        }
        // A target that refused the drag is not kept for the drop.
        EndHeldTarget();
    }
    *effect = DROPEFFECT_NONE;
    return S_OK;
}

STDMETHODIMP DropTarget::DragLeave() {
    return EndHeldTarget();
}

STDMETHODIMP DropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
    if (!droptarget) return S_OK;
    if (effect) {
        // Wine's folder targets report success and transfer nothing: there the
        // program does the copy or move itself, and the shell target only
        // learns that the drag left it.
        WineDrop plan = PlanWineDrop(data, keys, *effect, droppath);
        if (plan.applies) {
            EndHeldTarget();
            bool done = TransferFiles(ownerwindow, plan.files, droppath,
                                      plan.effect == DROPEFFECT_MOVE, false);
            *effect = done ? plan.effect : DROPEFFECT_NONE;
            return S_OK;
        }
    }
    IDropTarget* target = droptarget;
    droptarget = nullptr;
    HRESULT result = target->Drop(data, keys, point, effect);
    target->Release();
    return result;
}
