#include "BitmapSource.h"

namespace kivo::effects {

bool SourceImage::isValid() const
{
    return width > 0 && height > 0 && width <= kMaxBitmapDimension &&
           height <= kMaxBitmapDimension && bgrx.size() == size_t(width) * size_t(height) * 4;
}

}  // namespace kivo::effects
