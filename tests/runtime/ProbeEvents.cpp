#include "ProbeEvents.h"

std::wstring runtimeProbe()
{
    return kivotest::programFolder() + L"\\RuntimeProbe.exe";
}

TestEvent::TestEvent(const std::wstring& name) : m_hEvent(CreateEventW(nullptr, TRUE, FALSE, name.c_str()))
{
}

TestEvent::~TestEvent()
{
    if (m_hEvent)
        CloseHandle(m_hEvent);
}
