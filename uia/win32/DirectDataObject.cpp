#include "DirectDataObject.h"

#include <shlobj.h>

namespace QX::UIA::DETAIL {

// No OLE initialisation of its own: the last release may come on another
// thread than the creation, and OLE counts its initialisations per thread.
DirectDataObject::DirectDataObject() : ComObjectWin32(IID_IDataObject) {}

DirectDataObject::~DirectDataObject() {
    for (tEntry& entry : entries_) {
        if (entry.format.ptd)
            CoTaskMemFree(entry.format.ptd);
        ReleaseStgMedium(&entry.medium);
    }
    entries_.clear();
}

void DirectDataObject::addGlobalBlock(UINT formatId, HGLOBAL block) {
    tEntry entry{};
    entry.format = {static_cast<CLIPFORMAT>(formatId), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    entry.medium.tymed = TYMED_HGLOBAL;
    entry.medium.hGlobal = block;
    entry.medium.pUnkForRelease = nullptr;
    entries_.push_back(entry);
}

HRESULT DirectDataObject::findEntry(const FORMATETC& format, bool add, tEntry*& entry) {
    entry = nullptr;
    if (format.ptd)
        return DV_E_DVTARGETDEVICE;
    for (tEntry& candidate : entries_) {
        if (candidate.format.cfFormat != format.cfFormat || candidate.format.dwAspect != format.dwAspect ||
            candidate.format.lindex != format.lindex)
            continue;
        if (!add && !(candidate.format.tymed & format.tymed))
            return DV_E_TYMED;
        entry = &candidate;
        return S_OK;
    }
    if (!add)
        return DV_E_FORMATETC;
    tEntry added{};
    added.format = format;
    added.medium.tymed = TYMED_NULL;
    entries_.push_back(added);
    entry = &entries_.back();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DirectDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (!format || !medium)
        return E_INVALIDARG;
    tEntry* entry = nullptr;
    if (FAILED(findEntry(*format, false, entry)))
        return DV_E_FORMATETC;
    *medium = entry->medium;
    if (entry->medium.pUnkForRelease) {
        entry->medium.pUnkForRelease->AddRef();
    } else if (entry->medium.tymed == TYMED_ISTREAM) {
        entry->medium.pstm->AddRef();
    } else if (entry->medium.tymed == TYMED_ISTORAGE) {
        entry->medium.pstg->AddRef();
    } else {
        // The receiver's ReleaseStgMedium then drops this reference instead
        // of freeing our block.
        medium->pUnkForRelease = static_cast<IDataObject*>(this);
        AddRef();
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DirectDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }

HRESULT STDMETHODCALLTYPE DirectDataObject::QueryGetData(FORMATETC* format) {
    if (!format)
        return E_INVALIDARG;
    tEntry* entry = nullptr;
    return findEntry(*format, false, entry);
}

HRESULT STDMETHODCALLTYPE DirectDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) {
    if (!in || !out)
        return DV_E_FORMATETC;
    *out = *in;
    out->ptd = nullptr;
    return in->lindex != -1 ? DV_E_LINDEX : DATA_S_SAMEFORMATETC;
}

HRESULT STDMETHODCALLTYPE DirectDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
    if (!release)
        return E_NOTIMPL;
    if (!format || !medium)
        return E_INVALIDARG;
    tEntry* entry = nullptr;
    const HRESULT found = findEntry(*format, true, entry);
    if (FAILED(found))
        return found;
    ReleaseStgMedium(&entry->medium);
    entry->medium = *medium;
    // A medium whose release owner is this object would keep it alive forever.
    if (entry->medium.pUnkForRelease == static_cast<IDataObject*>(this)) {
        entry->medium.pUnkForRelease = nullptr;
        Release();
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DirectDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) {
    if (!enumerator)
        return E_INVALIDARG;
    *enumerator = nullptr;
    if (direction != DATADIR_GET || entries_.empty())
        return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (const tEntry& entry : entries_)
        formats.push_back(entry.format);
    return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), enumerator);
}

HRESULT STDMETHODCALLTYPE DirectDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE DirectDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT STDMETHODCALLTYPE DirectDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

}  // namespace QX::UIA::DETAIL
