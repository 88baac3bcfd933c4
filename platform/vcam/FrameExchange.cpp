#include "FrameExchange.h"

#include "VcamNames.h"

namespace vcam {

ExchangeView::~ExchangeView()
{
    close();
}

void ExchangeView::close()
{
    m_header.reset();
    m_mapping.reset();
    m_done.reset();
    m_viewBytes = 0;
    m_slotBytes = 0;
    m_serial = 0;
}

bool ExchangeView::open(DWORD captureSerial)
{
    close();
    m_mapping.reset(OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, captureFramesName(captureSerial).c_str()));
    m_done.reset(OpenEventW(EVENT_MODIFY_STATE, FALSE, captureDoneName(captureSerial).c_str()));
    if (!m_mapping || !m_done) {
        close();
        return false;
    }
    m_header = mapView<ExchangeHeader>(m_mapping.get(), 0);
    MEMORY_BASIC_INFORMATION info = {};
    if (!m_header || !VirtualQuery(m_header.get(), &info, sizeof(info))) {
        close();
        return false;
    }
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
    return reinterpret_cast<BYTE*>(m_header.get()) + kExchangeHeaderBytes + SIZE_T(m_slotBytes) * slot;
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
