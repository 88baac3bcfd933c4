#include "FrameWriter.h"
#include "FrameLayout.h"
#include "PixelColour.h"

#include <algorithm>

namespace {

std::wstring hresultText(const wchar_t* what, HRESULT hr)
{
    WCHAR text[32];
    _snwprintf(text, ARRAYSIZE(text), L" (0x%08lx)", static_cast<unsigned long>(hr));
    text[ARRAYSIZE(text) - 1] = L'\0';
    return std::wstring(what) + text;
}

// Releases a COM interface at the end of a scope.
template <typename T> class ComPtr {
public:
    ~ComPtr() { if (p) p->Release(); }
    T** put() { return &p; }
    T* operator->() const { return p; }
    T* get() const { return p; }
    T* p = nullptr;
};

} // namespace

FrameWriter::FrameWriter() = default;

FrameWriter::~FrameWriter()
{
    if (m_factory)
        m_factory->Release();
    if (m_comInitialised)
        CoUninitialize();
}

bool FrameWriter::init(bool png, std::wstring& error)
{
    m_png = png;
    if (!png)
        return true;
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    m_comInitialised = SUCCEEDED(hr);
    hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                          reinterpret_cast<void**>(&m_factory));
    if (FAILED(hr)) {
        error = hresultText(L"cannot create the WIC imaging factory", hr);
        return false;
    }
    return true;
}

bool FrameWriter::write(const std::wstring& path, const vcam::FrameFormat& format, const BYTE* data, std::wstring& error)
{
    if (m_png || format.pixel == vcam::PixelFormat::Yuy2)
        toTopDownBgr(format, data);
    if (m_png)
        return writePng(path, format.width, format.rows(), m_bgr.data(), error);
    BITMAPINFOHEADER header;
    if (format.pixel == vcam::PixelFormat::Yuy2) {
        vcam::FrameFormat rgb;
        vcam::FrameFormat::fromRecord(DWORD(vcam::PixelFormat::Rgb24), format.width, -format.rows(), rgb);
        rgb.toHeader(header);
        return writeBmp(path, header, m_bgr.data(), rgb.imageBytes(), error);
    }
    format.toHeader(header);
    return writeBmp(path, header, data, format.imageBytes(), error);
}

void FrameWriter::toTopDownBgr(const vcam::FrameFormat& format, const BYTE* data)
{
    const LONG w = format.width, rows = format.rows();
    const DWORD outStride = DWORD(kivo::dibStride(w, 24));
    m_bgr.assign(size_t(outStride) * rows, 0);
    for (LONG y = 0; y < rows; ++y) {
        LONG srcRow = format.topDown() ? y : rows - 1 - y;
        const BYTE* src = data + size_t(srcRow) * format.stride();
        BYTE* dst = m_bgr.data() + size_t(y) * outStride;
        switch (format.pixel) {
        case vcam::PixelFormat::Rgb24:
            memcpy(dst, src, size_t(w) * 3);
            break;
        case vcam::PixelFormat::Rgb32:
            for (LONG x = 0; x < w; ++x)
                memcpy(dst + 3 * x, src + 4 * x, 3);
            break;
        case vcam::PixelFormat::Yuy2:
            for (LONG x = 0; x + 1 < w; x += 2) {
                const BYTE* q = src + 2 * x;
                kivo::bgrOfYuv(q[0], q[1], q[3], dst + 3 * x);
                kivo::bgrOfYuv(q[2], q[1], q[3], dst + 3 * x + 3);
            }
            break;
        }
    }
}

bool FrameWriter::writeBmp(const std::wstring& path, const BITMAPINFOHEADER& header, const BYTE* pixels, DWORD bytes,
                           std::wstring& error)
{
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;   // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + bytes;
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        error = L"cannot create " + path;
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(hFile, &file, sizeof(file), &written, nullptr) && written == sizeof(file) &&
              WriteFile(hFile, &header, sizeof(header), &written, nullptr) && written == sizeof(header) &&
              WriteFile(hFile, pixels, bytes, &written, nullptr) && written == bytes;
    ok = CloseHandle(hFile) && ok;
    if (!ok)
        error = L"cannot write " + path;
    return ok;
}

bool FrameWriter::writePng(const std::wstring& path, LONG width, LONG height, const BYTE* topDownBgr,
                           std::wstring& error)
{
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    HRESULT hr = m_factory->CreateStream(stream.put());
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    if (SUCCEEDED(hr))
        hr = m_factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put());
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr))
        hr = encoder->CreateNewFrame(frame.put(), nullptr);
    if (SUCCEEDED(hr))
        hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr))
        hr = frame->SetSize(UINT(width), UINT(height));
    WICPixelFormatGUID pixelFormat = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&pixelFormat);
    if (SUCCEEDED(hr) && !IsEqualGUID(pixelFormat, GUID_WICPixelFormat24bppBGR))
        hr = E_FAIL;   // the encoder wants another layout; not expected for PNG
    const UINT stride = UINT(kivo::dibStride(width, 24));
    if (SUCCEEDED(hr))
        hr = frame->WritePixels(UINT(height), stride, stride * UINT(height), const_cast<BYTE*>(topDownBgr));
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    if (FAILED(hr))
        error = hresultText((L"cannot write " + path).c_str(), hr);
    return SUCCEEDED(hr);
}
