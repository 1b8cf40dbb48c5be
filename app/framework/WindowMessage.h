#pragma once
// Window messages as the pages and the main window exchange them: a message
// number with two parameters, and the notification records that controls hand
// to their dialog. Numbers follow the Windows values so that handlers written
// against them read the same on every platform.
#include <cstdint>

class QWidget;

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// Posted by a page to the main window after it applied a language;
// first parameter the language number, second 0.
inline constexpr UINT WM_LANGUAGE_CHANGED = 5000;

// Control notification codes (the high word of WM_COMMAND's first parameter,
// or NMHDR::code of WM_NOTIFY).
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT CBN_SELCHANGE = 1;
inline constexpr UINT EN_CHANGE = 0x0300;
inline constexpr UINT NM_CLICK = static_cast<UINT>(-2);
inline constexpr UINT NM_DBLCLK = static_cast<UINT>(-3);
inline constexpr UINT TCN_SELCHANGE = static_cast<UINT>(-551);
inline constexpr UINT IPN_FIELDCHANGED = static_cast<UINT>(-860);

// Dialog results and the "no entry" answer of list-like controls.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int CB_ERR = -1;

constexpr WPARAM MakeWParam(unsigned low, unsigned high)
{
    return static_cast<WPARAM>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
constexpr unsigned LoWord(std::uintptr_t value)
{
    return static_cast<unsigned>(value & 0xFFFFu);
}
constexpr unsigned HiWord(std::uintptr_t value)
{
    return static_cast<unsigned>((value >> 16) & 0xFFFFu);
}

// Header of every WM_NOTIFY record; the record travels by pointer in LPARAM,
// which is safe because WM_NOTIFY is only ever sent, never posted.
struct NMHDR {
    QWidget* hwndFrom = nullptr;
    int idFrom = 0;
    UINT code = 0;
};

