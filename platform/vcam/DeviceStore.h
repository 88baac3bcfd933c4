// The device's shared state: a file that every process maps (so that the configuration outlives the
// processes, as driver state would), guarded by a named mutex. Everything read from it is checked,
// because another process wrote it.
#pragma once

#include "MappedView.h"
#include "VcamLayout.h"

#include "UniqueHandle.h"

#include <string>

namespace vcam {

class DeviceStore {
public:
    DeviceStore() = default;

    // Maps the state, creating it with the factory configuration (one built-in camera) when it
    // does not exist yet. False with a message when the device cannot be reached. With
    // discardDamaged, a state file of the wrong size is emptied and created afresh (for a reset).
    bool open(std::wstring& error, bool discardDamaged = false);
    bool isOpen() const { return m_state != nullptr; }

    SharedState* state() const { return m_state.get(); }

    // Holds the device's mutex for one operation.
    class Lock {
    public:
        explicit Lock(DeviceStore& store);
        ~Lock();
        bool held() const { return m_held; }

    private:
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        HANDLE m_hMutex;   // the store's, borrowed while the lock lives
        bool m_held;
    };

    // Under the lock: the whole state is consistent (layout, counts, ids, values in range).
    bool validate(std::wstring& why) const;
    // Under the lock: the factory configuration, keeping the serial counters going forward.
    void factoryReset();
    // Under the lock: marks a change for readers that poll the generation.
    void bumpGeneration();

    // The file that holds the device state of this namespace, in the state folder.
    static bool backingFilePath(std::wstring& path);
    // %ProgramData%\Kivo\VirtualCamera, made when missing.
    static bool stateFolder(std::wstring& path);

private:
    DeviceStore(const DeviceStore&) = delete;
    DeviceStore& operator=(const DeviceStore&) = delete;

    bool mapState(std::wstring& error, bool discardDamaged);
    void close();

    // Released in reverse order: the view before its mapping, the mutex last.
    UniqueHandle m_mutex;
    UniqueHandle m_file;
    UniqueHandle m_mapping;
    MappedView<SharedState> m_state;
};

} // namespace vcam
