// The help storage of Windows (itss.dll): opens a compiled help file as an IStorage whose streams
// are the files inside it, decompressed. The SDK headers of this toolchain do not declare it.
#pragma once

#include <objbase.h>

// {5D02926A-212E-11D0-9DF9-00A0C922E6EC}
const CLSID CLSID_ITStorage = {
    0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
// {88CC31DE-27AB-11D0-9DF9-00A0C922E6EC}
const IID IID_IITStorage = {
    0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

struct IITStorage : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR* name, DWORD mode, DWORD reserved,
                                                       IStorage** storage) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes* bytes, DWORD mode,
                                                                   DWORD reserved, IStorage** storage) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes* bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR* name, IStorage* priority, DWORD mode,
                                                     SNB exclude, DWORD reserved, IStorage** storage) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorageOnILockBytes(ILockBytes* bytes, IStorage* priority,
                                                                 DWORD mode, SNB exclude, DWORD reserved,
                                                                 IStorage** storage) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgSetTimes(const WCHAR* name, const FILETIME* created,
                                                  const FILETIME* accessed, const FILETIME* modified) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetControlData(void* controlData) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefaultControlData(void** controlData) = 0;
    virtual HRESULT STDMETHODCALLTYPE Compact(const WCHAR* name, int level) = 0;
};
