#include "shell/droptarget.h"

#include <cstring>

DropTarget::DropTarget(HWND) : refcount(1), dataobject(nullptr), droptarget(nullptr) {
    std::memset(droppath, 0, sizeof droppath);
}

DropTarget::~DropTarget() = default;

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

STDMETHODIMP_(ULONG) DropTarget::AddRef() { return ++refcount; }

// Never frees: the main window owns the object.
STDMETHODIMP_(ULONG) DropTarget::Release() { return --refcount; }

// Dropping is not offered yet: every drag is told that nothing would happen.
STDMETHODIMP DropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
    if (effect) *effect = DROPEFFECT_NONE;
    return S_OK;
}

STDMETHODIMP DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (effect) *effect = DROPEFFECT_NONE;
    return S_OK;
}

STDMETHODIMP DropTarget::DragLeave() { return S_OK; }

STDMETHODIMP DropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD* effect) {
    if (effect) *effect = DROPEFFECT_NONE;
    return S_OK;
}
