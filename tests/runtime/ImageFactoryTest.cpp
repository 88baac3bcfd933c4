// ImageFactory: which ids exist, their sizes, and that scaling keeps both the picture and the
// frames' colour key.
#include "KivoLib.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const UINT kFrameIds[] = {10000, 10001, 10002, 10003, 10004, 10005};
const UINT kStillIds[] = {102, 103, 150};
const DWORD kKey = 0xFF00FF;   // KIVO_FRAME_COLOR_KEY as 0x00RRGGBB

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> data;   // 0x00RRGGBB, top-down
    DWORD at(int x, int y) const { return data[size_t(y) * width + x]; }
};

// Reads a bitmap and deletes it.
Pixels takePixels(HBITMAP hBitmap)
{
    Pixels p;
    LONG width = 0, height = 0;
    p.data = kivotest::bitmapPixels(hBitmap, width, height);
    EXPECT_FALSE(hBitmap && p.data.empty()) << "the bitmap could not be read";
    p.width = width;
    p.height = height;
    for (DWORD& v : p.data)
        v &= 0xFFFFFF;
    if (hBitmap)
        DeleteObject(hBitmap);
    return p;
}

int distance(DWORD a, DWORD b)
{
    return std::abs(int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF)) + std::abs(int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF)) +
           std::abs(int(a & 0xFF) - int(b & 0xFF));
}

// Average colour of the pixels that are not the key, per channel.
void averageColour(const Pixels& p, double out[3])
{
    double sum[3] = {0, 0, 0};
    size_t n = 0;
    for (DWORD v : p.data) {
        if (v == kKey)
            continue;
        sum[0] += (v >> 16) & 0xFF;
        sum[1] += (v >> 8) & 0xFF;
        sum[2] += v & 0xFF;
        ++n;
    }
    for (int i = 0; i < 3; ++i)
        out[i] = n ? sum[i] / n : -1;
}

void expectSamePicture(const Pixels& natural, const Pixels& scaled)
{
    double a[3], b[3];
    averageColour(natural, a);
    averageColour(scaled, b);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(a[i], b[i], 8.0) << "channel " << i;
}

TEST(ImageFactoryTest, KnownIdsHaveTheirNaturalSizes)
{
    for (UINT id : kFrameIds) {
        Pixels p = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        EXPECT_EQ(320, p.width) << "frame " << id;
        EXPECT_EQ(240, p.height) << "frame " << id;
    }
    for (UINT id : {102u, 103u}) {
        Pixels p = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        EXPECT_EQ(320, p.width) << "still " << id;
        EXPECT_EQ(240, p.height) << "still " << id;
    }
    Pixels alert = takePixels(ImageFactory::CreateBitmap(150, 0, 0));
    EXPECT_EQ(144, alert.width) << "the alert's picture control";
    EXPECT_EQ(108, alert.height) << "the alert's picture control";
}

TEST(ImageFactoryTest, UnknownIdsAndBadSizesGiveNothing)
{
    for (UINT id : {0u, 1u, 101u, 104u, 149u, 151u, 9999u, 10006u, 65535u})
        EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(id, 0, 0)) << "id " << id;
    EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(10001, 640, 0));
    EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(10001, 0, 480));
    EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(102, -320, 240));
    EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(102, 100000, 100));

    // Probing upward from 10000 until the first gap, as the frame chooser does, finds six frames.
    UINT count = 0;
    for (UINT id = 10000; id < 10100; ++id) {
        HBITMAP h = ImageFactory::CreateBitmap(id, 0, 0);
        if (!h)
            break;
        DeleteObject(h);
        ++count;
    }
    EXPECT_EQ(6u, count);
}

TEST(ImageFactoryTest, EachCallGivesTheCallerItsOwnBitmap)
{
    HBITMAP first = ImageFactory::CreateBitmap(10002, 0, 0);
    HBITMAP second = ImageFactory::CreateBitmap(10002, 0, 0);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(DeleteObject(first));
    Pixels p = takePixels(second);
    EXPECT_EQ(320, p.width);
}

TEST(ImageFactoryTest, FramesAreTransparentInTheMiddleAndOpaqueAtTheEdge)
{
    for (UINT id : kFrameIds) {
        if (id == 10000)
            continue;   // the "no frame" entry is a picture of its own, without an opening
        Pixels p = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        ASSERT_EQ(320, p.width);
        EXPECT_EQ(kKey, p.at(160, 120)) << "frame " << id;
        EXPECT_NE(kKey, p.at(2, 2)) << "frame " << id;
        EXPECT_NE(kKey, p.at(317, 237)) << "frame " << id;
        size_t keyed = 0;
        for (DWORD v : p.data)
            keyed += v == kKey;
        EXPECT_GT(keyed, p.data.size() / 2) << "frame " << id << ": the picture should mostly show through";
    }
}

// The opening scales with the frame and stays exactly the key; no near-key fringe is left around it.
TEST(ImageFactoryTest, ScaledFramesKeepTheKeyExact)
{
    const SIZE sizes[] = {{640, 480}, {160, 120}, {333, 251}, {1280, 720}};
    for (UINT id : kFrameIds) {
        Pixels natural = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        ASSERT_EQ(320, natural.width);
        for (const SIZE& size : sizes) {
            SCOPED_TRACE(testing::Message() << "frame " << id << " at " << size.cx << "x" << size.cy);
            Pixels scaled = takePixels(ImageFactory::CreateBitmap(id, size.cx, size.cy));
            ASSERT_EQ(size.cx, scaled.width);
            ASSERT_EQ(size.cy, scaled.height);
            size_t wrongKey = 0, fringe = 0;
            for (int y = 0; y < scaled.height; ++y) {
                int sy = std::min(natural.height - 1, (2 * y + 1) * natural.height / (2 * scaled.height));
                for (int x = 0; x < scaled.width; ++x) {
                    int sx = std::min(natural.width - 1, (2 * x + 1) * natural.width / (2 * scaled.width));
                    DWORD v = scaled.at(x, y);
                    bool sourceKey = natural.at(sx, sy) == kKey;
                    // Exactly on a pixel border the nearest source pixel may be either neighbour.
                    bool borderline = (2 * x + 1) * natural.width % (2 * scaled.width) == 0 ||
                                      (2 * y + 1) * natural.height % (2 * scaled.height) == 0;
                    if ((v == kKey) != sourceKey && !borderline)
                        ++wrongKey;
                    if (v != kKey && distance(v, kKey) < 90)
                        ++fringe;
                }
            }
            EXPECT_EQ(0u, wrongKey) << "the opening did not scale with the frame";
            EXPECT_EQ(0u, fringe) << "pixels blended with the key";
            expectSamePicture(natural, scaled);
        }
    }
}

TEST(ImageFactoryTest, ScaledStillsAreTheSamePicture)
{
    for (UINT id : kStillIds) {
        Pixels natural = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        for (const SIZE& size : {SIZE{640, 480}, SIZE{176, 144}, SIZE{1920, 1080}}) {
            SCOPED_TRACE(testing::Message() << "still " << id << " at " << size.cx << "x" << size.cy);
            Pixels scaled = takePixels(ImageFactory::CreateBitmap(id, size.cx, size.cy));
            ASSERT_EQ(size.cx, scaled.width);
            ASSERT_EQ(size.cy, scaled.height);
            expectSamePicture(natural, scaled);
            // Corners stay where they were: the top-left of the picture is still top-left.
            EXPECT_LT(distance(natural.at(1, 1), scaled.at(1, 1)), 40);
            EXPECT_LT(distance(natural.at(natural.width - 2, natural.height - 2),
                               scaled.at(scaled.width - 2, scaled.height - 2)), 40);
        }
    }
}

// A BMP file of width x height whose pixel (x, y) has colour index or value (x + 2y) % 4: rows padded
// to four bytes, bottom-up unless the height is negative. Each field can then be damaged.
struct BmpFile {
    int width = 5, height = 3;
    WORD bitCount = 24, planes = 1;
    DWORD compression = BI_RGB, headerSize = 40, colorsUsed = 0;
    std::vector<BYTE> bytes;

    static DWORD colour(int i)
    {
        static const DWORD kColours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF};
        return kColours[i % 4];
    }

    std::vector<BYTE>& build()
    {
        int rows = height < 0 ? -height : height;
        int columns = width < 0 ? -width : width;   // a damaged width still gets a file of sane length
        DWORD stride = DWORD(kivo::dibStride(columns, bitCount));
        DWORD colours = bitCount <= 8 ? (colorsUsed ? colorsUsed : 1u << bitCount) : 0;
        DWORD masks = compression == BI_BITFIELDS && headerSize == 40 ? 12 : 0;
        DWORD offset = 14 + headerSize + masks + colours * 4;
        bytes.assign(offset + stride * rows, 0);
        BYTE* b = bytes.data();
        b[0] = 'B', b[1] = 'M';
        put32(2, DWORD(bytes.size()));
        put32(10, offset);
        put32(14, headerSize);
        put32(18, DWORD(width));
        put32(22, DWORD(height));
        put16(26, planes);
        put16(28, bitCount);
        put32(30, compression);
        put32(46, colorsUsed);
        size_t table = 14 + headerSize;
        if (compression == BI_BITFIELDS) {   // 5-6-5 or 8-8-8
            size_t at = headerSize == 40 ? table : 14 + 40;
            put32(at, bitCount == 16 ? 0xF800 : 0xFF0000);
            put32(at + 4, bitCount == 16 ? 0x07E0 : 0x00FF00);
            put32(at + 8, bitCount == 16 ? 0x001F : 0x0000FF);
        }
        for (DWORD i = 0; i < colours; ++i)
            put32(table + masks + 4 * i, colour(i));
        for (int y = 0; y < rows && width > 0; ++y) {
            int pictureRow = height < 0 ? y : rows - 1 - y;
            for (int x = 0; x < width; ++x)
                putPixel(offset + y * stride, x, (x + 2 * pictureRow) % 4);
        }
        return bytes;
    }
    void putPixel(size_t row, int x, int i)
    {
        DWORD c = colour(i);
        if (bitCount <= 8) {
            size_t bit = size_t(x) * bitCount;
            bytes[row + bit / 8] |= BYTE((i % (1 << bitCount)) << (8 - bitCount - bit % 8));
        } else if (bitCount == 16) {
            put16(row + 2 * x, WORD(((c >> 19) << 11) | (((c >> 10) & 0x3F) << 5) | ((c >> 3) & 0x1F)));
        } else {
            memcpy(&bytes[row + x * (bitCount / 8)], &c, 3);
        }
    }
    void put16(size_t at, WORD v) { memcpy(&bytes[at], &v, 2); }
    void put32(size_t at, DWORD v) { memcpy(&bytes[at], &v, 4); }
};

bool writeFile(const std::wstring& path, const std::vector<BYTE>& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool ok = h != INVALID_HANDLE_VALUE && WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return ok && written == bytes.size();
}

// Pictures in every depth a BMP file has, either row order and each header version are read pixel
// for pixel; the platform's own loader takes damaged files as well, these are refused whole.
TEST(ImageFactoryTest, BmpFilesAreReadWhenWholeAndRefusedWhenDamaged)
{
    kivotest::ScratchFolder folder(L"bmp");
    ASSERT_TRUE(folder.created());
    const std::wstring path = folder.file(L"picture.bmp");
    auto load = [&](const std::vector<BYTE>& bytes) {
        EXPECT_TRUE(writeFile(path, bytes));
        return ImageFactory::LoadBitmapFile(path.c_str(), 0, 0);
    };

    struct Sound { const char* name; void (*make)(BmpFile&); };
    const Sound sound[] = {
        {"24 bits", [](BmpFile&) {}},
        {"top-down 32 bits", [](BmpFile& f) { f.bitCount = 32, f.height = -3; }},
        {"8 bits, 4 colours", [](BmpFile& f) { f.bitCount = 8, f.colorsUsed = 4; }},
        {"4 bits", [](BmpFile& f) { f.bitCount = 4; }},
        {"1 bit", [](BmpFile& f) { f.bitCount = 1, f.colorsUsed = 2, f.width = 9; }},
        {"16 bits 5-6-5", [](BmpFile& f) { f.bitCount = 16, f.compression = BI_BITFIELDS; }},
        {"version 5 header", [](BmpFile& f) { f.headerSize = 124, f.bitCount = 32, f.compression = BI_BITFIELDS; }},
    };
    for (const Sound& s : sound) {
        SCOPED_TRACE(s.name);
        BmpFile file;
        s.make(file);
        Pixels p = takePixels(load(file.build()));
        ASSERT_EQ(file.width, p.width);
        ASSERT_EQ(3, p.height);
        int colours = file.bitCount == 1 ? 2 : 4;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                EXPECT_EQ(BmpFile::colour((x + 2 * y) % colours), p.at(x, y)) << x << "," << y;
    }

    struct Damage { const char* name; void (*make)(BmpFile&); size_t keep; };
    const Damage damaged[] = {
        {"cut short", [](BmpFile&) {}, 60},
        {"last row missing", [](BmpFile&) {}, 54 + 2 * 16},
        {"wider than 4096", [](BmpFile& f) { f.width = 4097, f.height = 1; }, 0},
        {"taller than 4096", [](BmpFile& f) { f.width = 1, f.height = -4097; }, 0},
        {"no pixels", [](BmpFile& f) { f.width = 0; }, 0},
        {"negative width", [](BmpFile& f) { f.width = -5; }, 0},
        {"depth 13", [](BmpFile& f) { f.bitCount = 13; }, 0},
        {"depth 0", [](BmpFile& f) { f.bitCount = 0; }, 0},
        {"24 bits with masks", [](BmpFile& f) { f.compression = BI_BITFIELDS; }, 0},
        {"run-length", [](BmpFile& f) { f.bitCount = 8, f.compression = BI_RLE8; }, 0},
        {"two planes", [](BmpFile& f) { f.planes = 2; }, 0},
        {"more colours than the depth has", [](BmpFile& f) { f.bitCount = 4, f.colorsUsed = 17; }, 0},
        {"unknown header", [](BmpFile& f) { f.headerSize = 64; }, 0},
    };
    for (const Damage& d : damaged) {
        SCOPED_TRACE(d.name);
        BmpFile file;
        d.make(file);
        std::vector<BYTE> bytes = file.build();
        if (d.keep)
            bytes.resize(d.keep);
        EXPECT_EQ(nullptr, load(bytes));
    }
    BmpFile file;
    std::vector<BYTE> bytes = file.build();
    DWORD farOffset = 0x7FFFFF00;
    memcpy(&bytes[10], &farOffset, 4);
    EXPECT_EQ(nullptr, load(bytes)) << "pixels beyond the end of the file";
    bytes.assign(300, 0x5A);
    bytes[0] = 'B', bytes[1] = 'M';
    EXPECT_EQ(nullptr, load(bytes)) << "noise";
    EXPECT_EQ(nullptr, load({})) << "empty";
    EXPECT_EQ(nullptr, ImageFactory::LoadBitmapFile(folder.file(L"missing.bmp").c_str(), 0, 0));

    // Scaled as the library's frames are, to the size asked.
    writeFile(path, file.build());
    Pixels scaled = takePixels(ImageFactory::LoadBitmapFile(path.c_str(), 10, 6));
    EXPECT_EQ(10, scaled.width);
    EXPECT_EQ(6, scaled.height);
}

} // namespace
