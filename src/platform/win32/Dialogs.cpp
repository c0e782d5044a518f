// The settings and diagnostics dialogs as Win32 modal dialogs (templates
// 101 and 1001 of Dialogs.rc) over the models of src/dialogs, and the
// host's device list and configuration nodes they read and write.
#include <cstring>
#include <string>

#include "common/Format.h"
#include "common/Log.h"
#include "dialogs/DialogResources.h"
#include "dialogs/Dialogs.h"
#include "platform/Platform.h"
#include "platform/win32/Win32.h"

namespace zal::platform {

void CenterWindowOnParent(HWND dialog, HWND parent);
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DiagnosticsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

// Where the host keeps a device's options.  The item data of an entry of
// list box 601 points to the device's list item; the item holds the
// pointer to its configuration node at a fixed offset, and the node holds
// Option1 to Option4 in fixed fields.  A 64-bit host keeps the same byte
// offsets with an 8-byte pointer.
// clang-format off
constexpr std::size_t kNarrowNodePointer = 168;
constexpr std::size_t kWideNodePointer = 244;
constexpr std::size_t kNarrowOptionFields[4] = {1406, 1456, 1506, 1556};  // char[50] each
constexpr std::size_t kWideOptionFields[4] = {2790, 2890, 2990, 3090};    // 50 wide characters each
constexpr std::size_t kOptionFieldChars = 50;

// Controls that get the dialog font.
constexpr int kSettingsFontControls[] = {IDC_SETTINGS_GROUP, IDC_HEAT_LABEL, IDC_SPEED_LABEL, IDC_VOFFSET_LABEL,
                                         IDC_HOFFSET_LABEL, IDC_HEAT, IDC_SPEED, IDC_VOFFSET, IDC_HOFFSET,
                                         IDOK, IDCANCEL};
constexpr int kDiagnosticsFontControls[] = {IDC_DIAG_CLOSE, IDC_DIAG_CONFIG, IDC_DIAG_NETWORK, IDC_DIAG_STATUS};
// The controls OK reads, in the node's order.
constexpr int kSettingsControls[4] = {IDC_HEAT, IDC_SPEED, IDC_VOFFSET, IDC_HOFFSET};
// clang-format on

// The library's own module, for its resources: looked up by its name, or
// (loaded under another name) as the module that holds this code.
HMODULE LibraryModule() {
    HMODULE module = ::GetModuleHandleA(ZAL2443_MODULE_NAME);
    if (module == nullptr) {
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCSTR>(&LibraryModule), &module);
    }
    return module;
}

// The node of the device selected in the owner's list box 601.  The item
// and the node are the host's memory: both are checked readable before
// they are read, so a list whose item data is no pointer is refused
// instead of faulting.
DeviceNode FindNode(const dialogs::DialogOwner &owner, unsigned char **node) {
    HWND window = static_cast<HWND>(owner.Window());
    LRESULT item;
    if (owner.wide) {
        LRESULT selected = ::SendDlgItemMessageW(window, IDC_HOST_DEVICE_LIST, LB_GETCURSEL, 0, 0);
        item = ::SendDlgItemMessageW(window, IDC_HOST_DEVICE_LIST, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
    } else {
        LRESULT selected = ::SendDlgItemMessageA(window, IDC_HOST_DEVICE_LIST, LB_GETCURSEL, 0, 0);
        item = ::SendDlgItemMessageA(window, IDC_HOST_DEVICE_LIST, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
    }
    const std::size_t at = owner.wide ? kWideNodePointer : kNarrowNodePointer;
    const unsigned char *itemBytes = reinterpret_cast<const unsigned char *>(item);
    if (item == 0 || item == LB_ERR || !CanReadMemory(itemBytes + at, sizeof(void *))) return DeviceNode::NoListItem;
    void *pointer = nullptr;
    std::memcpy(&pointer, itemBytes + at, sizeof pointer);
    const std::size_t nodeSize = owner.wide ? kWideOptionFields[3] + 2 * kOptionFieldChars
                                            : kNarrowOptionFields[3] + kOptionFieldChars;
    if (pointer == nullptr || !CanReadMemory(pointer, nodeSize)) return DeviceNode::NoNode;
    *node = static_cast<unsigned char *>(pointer);
    return DeviceNode::Found;
}

std::string ReadNarrowField(const unsigned char *field) {
    const char *text = reinterpret_cast<const char *>(field);
    return std::string(text, TextLength(text, kOptionFieldChars));
}

// Wide fields are shown in the ANSI code page.  The node need not align
// its wide characters: they are copied out byte-wise.
std::string ReadWideField(const unsigned char *field) {
    wchar_t wide[kOptionFieldChars + 1] = {};
    std::memcpy(wide, field, kOptionFieldChars * sizeof(wchar_t));
    char narrow[4 * kOptionFieldChars + 1] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
    return narrow;
}

void WriteNarrowField(unsigned char *field, const std::string &value) {
    char text[kOptionFieldChars] = {};
    CopyText(text, value.c_str());
    std::memcpy(field, text, sizeof text);
}

void WriteWideField(unsigned char *field, const std::string &value) {
    wchar_t wide[kOptionFieldChars] = {};
    ::MultiByteToWideChar(CP_ACP, 0, value.c_str(), static_cast<int>(TextLength(value.c_str(), kOptionFieldChars - 1)),
                          wide, kOptionFieldChars - 1);
    std::memcpy(field, wide, sizeof wide);
}

HFONT CreateDialogFont() {
    HDC screen = ::GetDC(nullptr);
    int height = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    return ::CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Verdana");
}

template <std::size_t N>
void SetFont(HWND dialog, HFONT font, const int (&controls)[N]) {
    for (int id : controls) ::SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// What a running dialog keeps: its session, and the font deleted once the
// dialog has gone.
template <typename Session>
struct Frame {
    Session *session;
    HFONT font;
};

template <typename Session>
Frame<Session> *FrameOf(HWND dialog) {
    return reinterpret_cast<Frame<Session> *>(::GetWindowLongPtrA(dialog, DWLP_USER));
}

void FillList(HWND dialog, int id, const std::vector<std::string> &items, const dialogs::ComboStart &start) {
    for (const std::string &item : items) ::SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (start.selected >= 0) {
        ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(start.selected), 0);
    } else {
        ::SetDlgItemTextA(dialog, id, start.text.c_str());
    }
}

BOOL InitSettings(HWND dialog, Frame<dialogs::SettingsSession> *frame) {
    ::SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(frame));
    dialogs::SettingsSession &session = *frame->session;
    if (!dialogs::OpenSettings(session, dialog)) {
        ::EndDialog(dialog, 0);
        return TRUE;
    }
    CenterWindowOnParent(dialog, static_cast<HWND>(session.owner.Window()));
    frame->font = CreateDialogFont();
    SetFont(dialog, frame->font, kSettingsFontControls);
    const dialogs::SettingsModel &model = *session.model;
    ::SetWindowTextA(dialog, model.Caption().c_str());
    FillList(dialog, IDC_HEAT, model.HeatItems(), model.Heat());
    FillList(dialog, IDC_SPEED, model.SpeedItems(), model.Speed());
    for (int id : {IDC_VOFFSET, IDC_HOFFSET}) {
        ::SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, dialogs::kOffsetFieldLength, 0);
    }
    ::SetDlgItemTextA(dialog, IDC_VOFFSET, model.VerticalOffset().c_str());
    ::SetDlgItemTextA(dialog, IDC_HOFFSET, model.HorizontalOffset().c_str());
    ::SetFocus(::GetDlgItem(dialog, IDC_SPEED));
    return FALSE;  // the focus is set
}

BOOL InitDiagnostics(HWND dialog, Frame<dialogs::DiagnosticsSession> *frame) {
    ::SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(frame));
    const dialogs::DiagnosticsSession &session = *frame->session;
    if (!dialogs::OpenDiagnostics(session, dialog)) {
        ::EndDialog(dialog, 0);
        return TRUE;
    }
    CenterWindowOnParent(dialog, static_cast<HWND>(session.owner.Window()));
    frame->font = CreateDialogFont();
    SetFont(dialog, frame->font, kDiagnosticsFontControls);
    return TRUE;
}

void ReportEscape(HWND dialog, const char *routine) {
    log::LogError("%s: An exception ended the dialog.", routine);
    ::EndDialog(dialog, 0);
}

}  // namespace

// Places the dialog, keeping its size, with its centre on the parent's
// (or, without a usable parent, the screen's) centre.
void CenterWindowOnParent(HWND dialog, HWND parent) {
    RECT own;
    ::GetWindowRect(dialog, &own);
    RECT outer;
    bool hasParent = parent != nullptr && ::GetWindowRect(parent, &outer);
    dialogs::Rect parentRect{outer.left, outer.top, outer.right, outer.bottom};
    dialogs::Point origin = dialogs::CenteredOrigin(hasParent ? &parentRect : nullptr, ::GetSystemMetrics(SM_CXSCREEN),
                                                    ::GetSystemMetrics(SM_CYSCREEN),
                                                    {own.left, own.top, own.right, own.bottom});
    ::MoveWindow(dialog, origin.x, origin.y, own.right - own.left, own.bottom - own.top, TRUE);
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) return InitSettings(dialog, reinterpret_cast<Frame<dialogs::SettingsSession> *>(lParam));
        if (message != WM_COMMAND) return FALSE;
        Frame<dialogs::SettingsSession> *frame = FrameOf<dialogs::SettingsSession>(dialog);
        if (frame == nullptr) return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK: {
            dialogs::OptionTexts controls;
            for (std::size_t i = 0; i < controls.size(); ++i) {
                char text[dialogs::kSettingLength + 1] = {};
                ::GetDlgItemTextA(dialog, kSettingsControls[i], text, sizeof text);
                controls[i] = text;
            }
            dialogs::AcceptSettings(controls);
            ::EndDialog(dialog, 1);
            return TRUE;
        }
        case IDCANCEL:
            dialogs::CancelSettings(*frame->session);
            ::EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        ReportEscape(dialog, "SettingsDialogProc");
        return TRUE;
    }
}

INT_PTR CALLBACK DiagnosticsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            return InitDiagnostics(dialog, reinterpret_cast<Frame<dialogs::DiagnosticsSession> *>(lParam));
        }
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
        Frame<dialogs::DiagnosticsSession> *frame = FrameOf<dialogs::DiagnosticsSession>(dialog);
        if (frame == nullptr) return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_DIAG_CLOSE:
        case IDCANCEL:  // Escape closes as Close does
            ::EndDialog(dialog, 0);
            return TRUE;
        case IDC_DIAG_CONFIG:
        case IDC_DIAG_NETWORK:
        case IDC_DIAG_STATUS:
            dialogs::PressDiagnosticsButton(*frame->session, LOWORD(wParam));
            return TRUE;  // the dialog stays open
        default:
            return FALSE;
        }
    } catch (...) {
        ReportEscape(dialog, "DiagnosticsDialogProc");
        return TRUE;
    }
}

int RunSettingsDialog(dialogs::SettingsSession &session) {
    Frame<dialogs::SettingsSession> frame{&session, nullptr};
    INT_PTR result = ::DialogBoxParamA(LibraryModule(), MAKEINTRESOURCEA(IDD_SETTINGS),
                                       static_cast<HWND>(session.owner.Window()), SettingsDialogProc,
                                       reinterpret_cast<LPARAM>(&frame));
    if (result == -1) log::LogError("SettingsDialogProc: The dialog could not be shown (error %lu).", ::GetLastError());
    if (frame.font != nullptr) ::DeleteObject(frame.font);
    return static_cast<int>(result);
}

int RunDiagnosticsDialog(dialogs::DiagnosticsSession &session) {
    Frame<dialogs::DiagnosticsSession> frame{&session, nullptr};
    INT_PTR result = ::DialogBoxParamA(LibraryModule(), MAKEINTRESOURCEA(IDD_DIAGNOSTICS),
                                       static_cast<HWND>(session.owner.Window()), DiagnosticsDialogProc,
                                       reinterpret_cast<LPARAM>(&frame));
    if (result == -1) log::LogError("DiagnosticsDialogProc: The dialog could not be shown (error %lu).", ::GetLastError());
    if (frame.font != nullptr) ::DeleteObject(frame.font);
    return static_cast<int>(result);
}

DeviceNode ReadDeviceOptions(const dialogs::DialogOwner &owner, DeviceOptions *options) {
    unsigned char *node = nullptr;
    DeviceNode lookup = FindNode(owner, &node);
    if (lookup != DeviceNode::Found || options == nullptr) return lookup;
    for (std::size_t i = 0; i < options->size(); ++i) {
        (*options)[i] = owner.wide ? ReadWideField(node + kWideOptionFields[i]) : ReadNarrowField(node + kNarrowOptionFields[i]);
    }
    return lookup;
}

DeviceNode WriteDeviceOptions(const dialogs::DialogOwner &owner, const DeviceOptions &options) {
    unsigned char *node = nullptr;
    DeviceNode lookup = FindNode(owner, &node);
    if (lookup != DeviceNode::Found) return lookup;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (owner.wide) {
            WriteWideField(node + kWideOptionFields[i], options[i]);
        } else {
            WriteNarrowField(node + kNarrowOptionFields[i], options[i]);
        }
    }
    return lookup;
}

std::string LoadResourceText(uint32_t id) {
    char text[dialogs::kCaptionLength + 1] = {};
    int n = ::LoadStringA(LibraryModule(), id, text, sizeof text);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace zal::platform
