#pragma once

#include <QMetaType>
#include <QString>

// Message numbers and record layouts the list shares with its parent window and
// its editors. The numbers stay those of the original window messages so that
// logs and handlers can name them the same way.
namespace ListCtrlEx {

class CListCtrlEx;

inline constexpr unsigned WM_USER = 0x0400;

inline constexpr unsigned WM_LISTEX_CLICK = WM_USER + 8001;
inline constexpr unsigned WM_LISTEX_DBLCLICK = WM_USER + 8002;
inline constexpr unsigned WM_LISTEX_RCLICK = WM_USER + 8003;
inline constexpr unsigned WM_LISTEX_CHECKSET = WM_USER + 8004;
inline constexpr unsigned WM_LISTEX_CHECKCLICK = WM_USER + 8006;
inline constexpr unsigned WM_LISTEX_ENDEDIT = WM_USER + 8008;
inline constexpr unsigned WM_LISTEX_BEGINEDIT = WM_USER + 8009;

// Column format bits; neither set means left-aligned.
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;

inline constexpr int LVN_ENDLABELEDITW = -176;
inline constexpr unsigned LVIF_TEXT = 0x0001;

// Dialog item ids of the two shared in-place editors.
inline constexpr int kInPlaceEditId = 1000001;
inline constexpr int kInPlaceComboId = 1000002;

// The end-of-edit record an editor hands to the list, laid out like the
// platform's label-edit notification: who sent it, which cell, which text.
struct EndEditNotify {
    const CListCtrlEx* source = nullptr;
    int sourceId = 0;
    int code = LVN_ENDLABELEDITW;
    unsigned mask = LVIF_TEXT;
    int item = -1;
    int subItem = -1;
    QString text;
    int textLength = 0;
};

} // namespace ListCtrlEx

Q_DECLARE_METATYPE(ListCtrlEx::EndEditNotify)
