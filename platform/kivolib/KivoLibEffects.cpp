// IKivoLib: the frame effects of the product library, over the portable kernels.
#include "KivoLib.h"

#include "FrameEffects.h"
#include "GdiBitmapSource.h"

#include <exception>
#include <mutex>
#include <new>

using kivo::effects::FrameEffects;

namespace {

// The window argument is accepted for the interface's sake; the effects need no window.
class KivoLibEffects final : public IKivoLib {
public:
    void Release() override { delete this; }

    int ApplyFrameEffect(KIVO_FRAME_BUFFER* pFrame, HWND, HBITMAP hFrameBitmap,
                         DWORD effectFlags) override
    {
        if (!pFrame)
            return 0;
        const GdiBitmapSource bitmap(hFrameBitmap);
        try {
            std::lock_guard<std::mutex> lock(m_lock);
            return m_effects.apply(frameHeaderOf(*pFrame), pFrame->pData, effectFlags,
                                   hFrameBitmap ? &bitmap : nullptr) ? 1 : 0;
        } catch (const std::exception&) {
            return 0;
        }
    }

    int RenderBitmap(void* pTarget, KIVO_FRAME_BUFFER* pFrame, HWND, HBITMAP hBitmap) override
    {
        if (!pFrame || !hBitmap)
            return 0;
        const GdiBitmapSource bitmap(hBitmap);
        try {
            std::lock_guard<std::mutex> lock(m_lock);
            return m_effects.render(frameHeaderOf(*pFrame), static_cast<uint8_t*>(pTarget), &bitmap)
                       ? 1 : 0;
        } catch (const std::exception&) {
            return 0;
        }
    }

private:
    std::mutex m_lock;   // one effect object may be shared by threads of the caller
    FrameEffects m_effects;
};

}  // namespace

extern "C" KIVOLIB_API IKivoLib* __cdecl CreateKivoLib()
{
    return new (std::nothrow) KivoLibEffects;
}
