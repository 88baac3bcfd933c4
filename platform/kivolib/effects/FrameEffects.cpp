#include "FrameEffects.h"

#include "EffectFlags.h"
#include "FramePicture.h"
#include "PictureScaler.h"

#include <cstring>
#include <new>

namespace kivo::effects {

namespace {

// A frame bitmap and two still pictures are in use at a time; a little more covers a size change.
constexpr size_t kOverlayCacheSize = 2;
constexpr size_t kRenderingCacheSize = 4;

}  // namespace

FrameEffects::FrameEffects() : m_overlays(kOverlayCacheSize), m_renderings(kRenderingCacheSize) {}

bool FrameEffects::readBitmap(const BitmapSource& bitmap, SourceImage& image)
{
    ++m_bitmapReads;
    return bitmap.read(image) && image.isValid();
}

std::shared_ptr<const FrameOverlay> FrameEffects::overlayFor(const BitmapSource& bitmap,
                                                             const FrameLayout& layout)
{
    BitmapKey key;
    if (!bitmap.key(key))
        return nullptr;
    if (std::shared_ptr<const FrameOverlay> cached = m_overlays.find(key, layout))
        return cached;
    SourceImage image;
    if (!readBitmap(bitmap, image))
        return nullptr;
    const ScaledPicture scaled = scalePicture(image, layout.width, layout.height, true);
    auto overlay = std::make_shared<const FrameOverlay>(toFramePicture(scaled, layout));
    m_overlays.insert(key, layout, overlay);
    return overlay;
}

std::shared_ptr<const std::vector<uint8_t>> FrameEffects::renderingFor(const BitmapSource& bitmap,
                                                                       const FrameLayout& layout)
{
    BitmapKey key;
    if (!bitmap.key(key))
        return nullptr;
    if (std::shared_ptr<const std::vector<uint8_t>> cached = m_renderings.find(key, layout))
        return cached;
    SourceImage image;
    if (!readBitmap(bitmap, image))
        return nullptr;
    const ScaledPicture scaled = scalePicture(image, layout.width, layout.height, false);
    auto pixels = std::make_shared<const std::vector<uint8_t>>(
        toFramePicture(scaled, layout).pixels);
    m_renderings.insert(key, layout, pixels);
    return pixels;
}

bool FrameEffects::apply(const FrameHeader& header, uint8_t* frame, uint32_t flags,
                         const BitmapSource* frameBitmap)
{
    const std::optional<FrameLayout> layout = describeFrame(header);
    const std::optional<EffectRequest> request = parseEffectFlags(flags);
    if (!layout || !request || !frame)
        return false;
    try {
        std::shared_ptr<const FrameOverlay> overlay;
        if (request->overlay) {
            if (!frameBitmap || !(overlay = overlayFor(*frameBitmap, *layout)))
                return false;
        }
        if (request->zoomStep)
            m_zoom.apply(*layout, frame, zoomFactor(request->zoomStep));
        if (overlay)
            overlay->applyTo(frame);
        return true;
    } catch (const std::bad_alloc&) {
        // Preparation and the zoom's buffers are allocated before the frame is written.
        return false;
    }
}

bool FrameEffects::render(const FrameHeader& header, uint8_t* target, const BitmapSource* bitmap)
{
    const std::optional<FrameLayout> layout = describeFrame(header);
    if (!layout || !target || !bitmap)
        return false;
    try {
        const std::shared_ptr<const std::vector<uint8_t>> pixels = renderingFor(*bitmap, *layout);
        if (!pixels)
            return false;
        std::memcpy(target, pixels->data(), pixels->size());
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace kivo::effects
