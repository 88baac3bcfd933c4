// libFuzzer target: BMP picture files as a user could leave them in the data folder, through the
// check that decides whether the library reads one. Faults it finds: a read outside the file while
// checking it or while using the layout it accepted (AddressSanitizer), undefined arithmetic (UBSan),
// an accepted layout whose parts do not lie inside the file or break the limits, and a whole file
// written by the rules that is refused or described wrongly.
#include "BitmapSource.h"
#include "BmpFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace kivo::effects;

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        fprintf(stderr, "BMP layout fault: %s\n", what);
        abort();
    }
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

// Uses every part the layout names, so that AddressSanitizer sees any that is not in the file.
uint32_t touchParts(const std::vector<uint8_t>& file, const BmpLayout& l)
{
    check(l.width > 0 && l.width <= kMaxBitmapDimension, "width");
    check(l.height != 0 && l.height >= -kMaxBitmapDimension && l.height <= kMaxBitmapDimension, "height");
    const uint64_t rows = l.height < 0 ? -int64_t(l.height) : l.height;
    const uint64_t stride = ((uint64_t(l.width) * l.bitCount + 31) / 32) * 4;
    check(l.pixelBytes == stride * rows, "pixel bytes");
    check(l.pixelsOffset <= file.size() && file.size() - l.pixelsOffset >= l.pixelBytes, "pixels inside");
    check(l.paletteColors == 0 || l.bitCount <= 8, "palette only with 8 bits or fewer");
    check(l.paletteColors <= (l.bitCount <= 8 ? 1u << l.bitCount : 0u), "palette size");
    check(l.paletteOffset + size_t(l.paletteColors) * 4 <= l.pixelsOffset, "palette before the pixels");
    check(l.masksOffset == 0 || l.masksOffset + 12 <= file.size(), "masks inside");
    uint32_t sum = 0;
    const uint8_t* p = file.data();   // through the vector's own storage: exact bounds for ASan
    for (size_t i = 0; i < l.pixelBytes; i += 97)
        sum += p[l.pixelsOffset + i];
    if (l.pixelBytes)
        sum += p[l.pixelsOffset + l.pixelBytes - 1];
    for (size_t i = 0; i < size_t(l.paletteColors) * 4; ++i)
        sum += p[l.paletteOffset + i];
    for (size_t i = 0; l.masksOffset && i < 12; ++i)
        sum += p[l.masksOffset + i];
    return sum;
}

// A file made by the rules from the fuzzer's choices; its layout must come back as made.
void checkWrittenFile(FuzzedDataProvider& data)
{
    static const uint16_t kDepths[] = {1, 4, 8, 16, 24, 32};
    static const uint32_t kHeaders[] = {40, 52, 56, 108, 124};
    const uint16_t bits = kDepths[data.ConsumeIntegralInRange<int>(0, 5)];
    const uint32_t header = kHeaders[data.ConsumeIntegralInRange<int>(0, 4)];
    const int32_t width = data.ConsumeIntegralInRange<int32_t>(1, 300);
    const int32_t height = data.ConsumeIntegralInRange<int32_t>(1, 200) * (data.ConsumeBool() ? -1 : 1);
    const bool masks = (bits == 16 || bits == 32) && data.ConsumeBool();
    const uint32_t used = bits <= 8 ? data.ConsumeIntegralInRange<uint32_t>(0, 1u << bits) : 0;
    const uint32_t gap = data.ConsumeIntegralInRange<uint32_t>(0, 16);
    const uint32_t colours = bits <= 8 ? (used ? used : 1u << bits) : 0;
    const uint32_t table = 14 + header + (masks && header == 40 ? 12 : 0);
    const uint32_t offset = table + colours * 4 + gap;
    const uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
    const uint64_t rows = height < 0 ? -int64_t(height) : height;
    std::vector<uint8_t> file(offset + stride * rows, 0x33);
    file[0] = 'B', file[1] = 'M';
    put32(file, 10, offset);
    put32(file, 14, header);
    put32(file, 18, uint32_t(width));
    put32(file, 22, uint32_t(height));
    file[26] = 1, file[27] = 0, file[28] = uint8_t(bits), file[29] = 0;
    put32(file, 30, masks ? kBmpBitfields : kBmpRgb);
    put32(file, 46, used);
    BmpLayout l;
    check(parseBmpFile(file.data(), file.size(), l), "a file made by the rules was refused");
    check(l.width == width && l.height == height && l.bitCount == bits && l.pixelsOffset == offset, "fields");
    check(l.paletteColors == colours && (colours == 0 || l.paletteOffset == table), "palette");
    check((l.masksOffset != 0) == masks && (!masks || l.masksOffset == 54), "masks");   // after 14 + 40
    touchParts(file, l);
    // One byte less and the last row is no longer whole.
    check(!parseBmpFile(file.data(), file.size() - 1, l), "a file cut short was accepted");

    // Then damaged where the fuzzer says, mostly in the headers, and cut where it says.
    const int damages = data.ConsumeIntegralInRange<int>(0, 6);
    for (int i = 0; i < damages; ++i) {
        size_t at = data.ConsumeBool() ? data.ConsumeIntegralInRange<size_t>(0, 70)
                                       : data.ConsumeIntegralInRange<size_t>(0, file.size() - 1);
        if (at < file.size())
            file[at] = data.ConsumeIntegral<uint8_t>();
    }
    file.resize(data.ConsumeIntegralInRange<size_t>(0, file.size()));
    std::vector<uint8_t> damaged(file);   // exactly as long as what is left
    if (parseBmpFile(damaged.data(), damaged.size(), l))
        touchParts(damaged, l);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The input as a file of its own, so that AddressSanitizer knows its end exactly.
    std::vector<uint8_t> file(data, data + size);
    BmpLayout layout;
    if (parseBmpFile(file.data(), file.size(), layout))
        touchParts(file, layout);
    FuzzedDataProvider provider(data, size);
    checkWrittenFile(provider);
    return 0;
}
