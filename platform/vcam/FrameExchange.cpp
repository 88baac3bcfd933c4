#include "FrameExchange.h"

#include "VcamNames.h"

namespace vcam {

ExchangeView::~ExchangeView()
{
    close();
}

void ExchangeView::close()
{
    if (m_header)
        UnmapViewOfFile(m_header);
    m_header = nullptr;
    if (m_hMapping)
        CloseHandle(m_hMapping);
    m_hMapping = nullptr;
    if (m_hDone)
        CloseHandle(m_hDone);
    m_hDone = nullptr;
    m_viewBytes = 0;
    m_slotBytes = 0;
    m_serial = 0;
}

bool ExchangeView::open(DWORD captureSerial)
{
    close();
    m_hMapping = OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, captureFramesName(captureSerial).c_str());
    m_hDone = OpenEventW(EVENT_MODIFY_STATE, FALSE, captureDoneName(captureSerial).c_str());
    if (!m_hMapping || !m_hDone) {
        close();
        return false;
    }
    void* view = MapViewOfFile(m_hMapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
    MEMORY_BASIC_INFORMATION info = {};
    if (!view || !VirtualQuery(view, &info, sizeof(info))) {
        if (view)
            UnmapViewOfFile(view);
        close();
        return false;
    }
    m_header = static_cast<ExchangeHeader*>(view);
    m_viewBytes = info.RegionSize;
    // The size must hold what the header claims, or a slot would reach past the view.
    if (m_viewBytes < kExchangeHeaderBytes || m_header->magic != kExchangeMagic ||
        m_header->captureSerial != captureSerial || m_header->slotBytes == 0 || m_header->slotBytes % 4096 != 0 ||
        exchangeMappingBytes(m_header->slotBytes) > m_viewBytes) {
        close();
        return false;
    }
    m_slotBytes = m_header->slotBytes;
    m_serial = captureSerial;
    return true;
}

BYTE* ExchangeView::slotData(DWORD slot) const
{
    if (!m_header || slot >= kSlotCount)
        return nullptr;
    return reinterpret_cast<BYTE*>(m_header) + kExchangeHeaderBytes + SIZE_T(m_slotBytes) * slot;
}

bool ExchangeView::announcedFrame(DWORD& slot, LONG& seq, FrameFormat& format) const
{
    if (!m_header)
        return false;
    LONG s = m_header->currentSlot;
    seq = m_header->currentSeq;
    MemoryBarrier();
    if (s < 0 || s >= LONG(kSlotCount) || seq <= 0)
        return false;
    slot = DWORD(s);
    const ExchangeSlot& record = m_header->slots[slot];
    if (record.seq != seq)
        return false;
    BITMAPINFOHEADER header = record.header;
    if (!FrameFormat::fromHeader(header, format))
        return false;
    return record.cbData == format.imageBytes() && record.cbData <= m_slotBytes;
}

} // namespace vcam
