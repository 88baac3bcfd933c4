// The per-capture-session mapping through which frames pass a filter window in another process:
// a header and two frame slots. The capturing process fills a slot and announces it (current slot
// and sequence), the filter rewrites it and stores the sequence as completed. Both sides check
// what the other wrote.
#pragma once

#include "FrameFormat.h"
#include "MappedView.h"

#include "UniqueHandle.h"

#include <string>

namespace vcam {

constexpr DWORD kExchangeMagic = 0x58464B56;   // "VKFX"
constexpr DWORD kExchangeHeaderBytes = 4096;
constexpr DWORD kSlotCount = 2;

struct ExchangeSlot {
    volatile LONG seq;            // the frame in the slot; written by the capturing process
    volatile LONG completedSeq;   // the last frame the filter completed here; written by the filter
    DWORD cbData;
    DWORD frameNumber;
    LONGLONG timestamp;
    DWORD cameraIndex;
    DWORD reserved;
    BITMAPINFOHEADER header;
};

struct ExchangeHeader {
    DWORD magic;
    DWORD captureSerial;
    DWORD slotBytes;              // bytes reserved per slot, a multiple of 4096
    volatile LONG currentSlot;    // the slot handed to the filter
    volatile LONG currentSeq;
    DWORD reserved[3];
    ExchangeSlot slots[kSlotCount];
};

static_assert(sizeof(ExchangeHeader) <= kExchangeHeaderBytes, "exchange header fits its page");

inline DWORD exchangeSlotBytes(DWORD imageBytes) { return (imageBytes + 4095) & ~4095u; }
inline SIZE_T exchangeMappingBytes(DWORD slotBytes) { return kExchangeHeaderBytes + SIZE_T(slotBytes) * kSlotCount; }
inline BYTE* exchangeSlotData(ExchangeHeader* header, DWORD slot)
{
    return reinterpret_cast<BYTE*>(header) + kExchangeHeaderBytes + SIZE_T(header->slotBytes) * slot;
}

// The filter's view of a session's exchange, opened by name and checked.
class ExchangeView {
public:
    ExchangeView() = default;
    ~ExchangeView();

    bool open(DWORD captureSerial);
    void close();
    bool isOpen() const { return m_header != nullptr; }
    DWORD captureSerial() const { return m_serial; }
    ExchangeHeader* header() const { return m_header.get(); }
    HANDLE doneEvent() const { return m_done.get(); }
    // The slot's pixels, by the slot size checked at open (the header could be rewritten since).
    BYTE* slotData(DWORD slot) const;

    // The slot the capturing process announced, when its record is sound: slot index, sequence
    // and format within the mapping.
    bool announcedFrame(DWORD& slot, LONG& seq, FrameFormat& format) const;

private:
    ExchangeView(const ExchangeView&) = delete;
    ExchangeView& operator=(const ExchangeView&) = delete;

    UniqueHandle m_done;
    UniqueHandle m_mapping;
    MappedView<ExchangeHeader> m_header;   // unmapped before its mapping closes
    SIZE_T m_viewBytes = 0;
    DWORD m_slotBytes = 0;
    DWORD m_serial = 0;
};

} // namespace vcam
