#pragma once
#include <windows.h>
#include <ole2.h>

#include <vector>

#include "ComObjectWin32.h"

namespace QX::UIA::DETAIL {

// A data object of our own that hands out the blocks it holds; the shell's
// drag-image helper stores its own formats in it through SetData.
class DirectDataObject final : public ComObjectWin32<IDataObject> {
public:
    DirectDataObject();

    // Takes ownership of a global block offered under the format id.
    void addGlobalBlock(UINT formatId, HGLOBAL block);

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

private:
    struct tEntry {
        FORMATETC format;
        STGMEDIUM medium;
    };

    ~DirectDataObject() override;
    // Finds the entry of a format; with `add` a missing one is made.
    HRESULT findEntry(const FORMATETC& format, bool add, tEntry*& entry);

    std::vector<tEntry> entries_;
};

}  // namespace QX::UIA::DETAIL
