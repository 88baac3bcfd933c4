// Message-map entries. Each macro expands to one entry whose thunk calls the handler with typed
// arguments; the thunk is written inside the class's own map, so it reaches protected handlers.
#pragma once

// Handlers of WM_COMMAND notifications from controls and menus.
#define ON_COMMAND(id, memberFxn)                                                              \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(id), nullptr,                                           \
     [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {                                            \
         static_cast<ThisClass*>(t)->memberFxn();                                              \
         return 0;                                                                             \
     }},

#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(idLast), nullptr,                                       \
     [](CCmdTarget* t, WPARAM w, LPARAM) -> LRESULT {                                          \
         static_cast<ThisClass*>(t)->memberFxn((UINT)LOWORD(w));                               \
         return 0;                                                                             \
     }},

#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                 \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,                         \
     [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {                                            \
         static_cast<ThisClass*>(t)->memberFxn();                                              \
         return 0;                                                                             \
     }},

// User-defined and registered messages: LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                         \
    {(UINT)(message), 0, 0, 0, nullptr,                                                        \
     [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {                                        \
         return static_cast<ThisClass*>(t)->memberFxn(w, l);                                   \
     }},

// The number is read from the variable when a message arrives, after RegisterWindowMessage filled it.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                     \
    {AFX_REGISTERED_MESSAGE, 0, 0, 0, &(nMessageVariable),                                     \
     [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {                                        \
         return static_cast<ThisClass*>(t)->memberFxn(w, l);                                   \
     }},

// Standard window messages with the framework's handler signatures.
#define ON_WM_CREATE()                                                                         \
    {WM_CREATE, 0, 0, 0, nullptr,                                                              \
     [](CCmdTarget* t, WPARAM, LPARAM l) -> LRESULT {                                          \
         return static_cast<ThisClass*>(t)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(l));     \
     }},

#define ON_WM_DESTROY()                                                                        \
    {WM_DESTROY, 0, 0, 0, nullptr,                                                             \
     [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {                                            \
         static_cast<ThisClass*>(t)->OnDestroy();                                              \
         return 0;                                                                             \
     }},

#define ON_WM_NCDESTROY()                                                                      \
    {WM_NCDESTROY, 0, 0, 0, nullptr,                                                           \
     [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {                                            \
         static_cast<ThisClass*>(t)->OnNcDestroy();                                            \
         return 0;                                                                             \
     }},

#define ON_WM_CLOSE()                                                                          \
    {WM_CLOSE, 0, 0, 0, nullptr,                                                               \
     [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {                                            \
         static_cast<ThisClass*>(t)->OnClose();                                                \
         return 0;                                                                             \
     }},

#define ON_WM_TIMER()                                                                          \
    {WM_TIMER, 0, 0, 0, nullptr,                                                               \
     [](CCmdTarget* t, WPARAM w, LPARAM) -> LRESULT {                                          \
         static_cast<ThisClass*>(t)->OnTimer(static_cast<UINT_PTR>(w));                        \
         return 0;                                                                             \
     }},

#define ON_WM_DEVICECHANGE()                                                                   \
    {WM_DEVICECHANGE, 0, 0, 0, nullptr,                                                        \
     [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {                                        \
         return static_cast<ThisClass*>(t)->OnDeviceChange(static_cast<UINT>(w),               \
                                                           static_cast<DWORD_PTR>(l));         \
     }},
