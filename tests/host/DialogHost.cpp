// Drives the settings and diagnostics dialogs of ZAL2443.DLL as a user
// would, from a host window that holds device list box 601 with items
// pointing to configuration nodes laid out as a shipping application lays
// them out.  A thread timer finds each dialog or error box while it runs
// modally, reads and sets its controls through messages and presses its
// buttons; afterwards the nodes, the printed bytes and the log are checked.
// Needs a display (run under xvfb-run).  Writes a screenshot of each dialog
// into the folder given as the first argument.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "zal2443/zal2443.h"

namespace {

int g_failures = 0;

void Check(bool ok, const std::string &what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) ++g_failures;
}

// ------------------------------------------------------------ host memory
// A device list item and its configuration node: byte buffers with the
// node pointer and the option fields at the host's offsets.
constexpr std::size_t kNarrowNodePointer = 168, kWideNodePointer = 244;
constexpr std::size_t kNarrowFields[4] = {1406, 1456, 1506, 1556};
constexpr std::size_t kWideFields[4] = {2790, 2890, 2990, 3090};

struct HostDevice {
    std::vector<unsigned char> item = std::vector<unsigned char>(512);
    std::vector<unsigned char> node = std::vector<unsigned char>(4096);

    void Link(bool wide, bool withNode) {
        void *pointer = withNode ? node.data() : nullptr;
        std::memcpy(item.data() + (wide ? kWideNodePointer : kNarrowNodePointer), &pointer, sizeof pointer);
    }
    void SetNarrow(const char *const (&values)[4]) {
        std::fill(node.begin(), node.end(), 0);
        for (int i = 0; i < 4; ++i) std::strcpy(reinterpret_cast<char *>(node.data() + kNarrowFields[i]), values[i]);
    }
    std::string Narrow() const {
        std::string out;
        for (int i = 0; i < 4; ++i) out += (i ? "," : "") + std::string(reinterpret_cast<const char *>(node.data() + kNarrowFields[i]));
        return out;
    }
    void SetWide(const char *const (&values)[4]) {
        std::fill(node.begin(), node.end(), 0);
        for (int i = 0; i < 4; ++i) {
            for (std::size_t c = 0; values[i][c]; ++c) {
                wchar_t w = static_cast<unsigned char>(values[i][c]);
                std::memcpy(node.data() + kWideFields[i] + 2 * c, &w, 2);
            }
        }
    }
    std::string Wide() const {
        std::string out;
        for (int i = 0; i < 4; ++i) {
            out += i ? "," : "";
            for (std::size_t c = 0; c < 50; ++c) {
                wchar_t w;
                std::memcpy(&w, node.data() + kWideFields[i] + 2 * c, 2);
                if (w == 0) break;
                out += static_cast<char>(w);
            }
        }
        return out;
    }
};

// ------------------------------------------------------------ the script
// Steps run on a thread timer, so they run inside the dialogs' own modal
// loops; a step that returns false is tried again on the next tick.
std::vector<std::function<bool()>> g_steps;
std::size_t g_next = 0;
DWORD g_deadline = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_next >= g_steps.size()) return;
    if (GetTickCount() > g_deadline) {
        std::printf("FAIL step %u of the script timed out\n", static_cast<unsigned>(g_next + 1));
        std::fflush(stdout);
        ExitProcess(3);
    }
    if (g_steps[g_next]()) ++g_next;
}

void Script(std::vector<std::function<bool()>> steps) {
    g_steps = std::move(steps);
    g_next = 0;
    g_deadline = GetTickCount() + 20000;
}

bool ScriptDone(const std::string &what) {
    bool done = g_next == g_steps.size();
    Check(done, what + ": every step of the script ran (" + std::to_string(g_next) + " of " +
                    std::to_string(g_steps.size()) + ")");
    g_steps.clear();
    return done;
}

struct Found {
    const char *title;
    HWND window;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    Found &found = *reinterpret_cast<Found *>(data);
    char title[128] = {}, cls[32] = {};
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, cls, sizeof cls);
    if (IsWindowVisible(window) && std::strcmp(cls, "#32770") == 0 && std::strcmp(title, found.title) == 0) {
        found.window = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(const char *title) {
    Found found{title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

std::string Text(HWND dialog, int id) {
    char text[128] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string Item(HWND dialog, int id, int index) {
    char text[64] = {};
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// Typing into a control: select what it holds, then one WM_CHAR per key.
void Type(HWND control, const char *keys) {
    SendMessageA(control, EM_SETSEL, 0, -1);
    for (const char *k = keys; *k; ++k) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(*k), 0);
}

HWND ComboEdit(HWND dialog, int id) { return GetWindow(GetDlgItem(dialog, id), GW_CHILD); }

void Press(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND g_dialog = nullptr;

std::function<bool()> Find(const char *title) {
    return [title] { return (g_dialog = FindDialog(title)) != nullptr; };
}

std::function<bool()> Do(std::function<void(HWND)> action) {
    return [action] {
        action(g_dialog);
        return true;
    };
}

std::function<bool()> Wait(DWORD ms) {
    auto until = std::make_shared<DWORD>(0);
    return [until, ms] {
        if (*until == 0) *until = GetTickCount() + ms;
        return GetTickCount() >= *until;
    };
}

// The library's error box: its caption, its text and its icon; OK pressed
// (which hides the box at once, so the next step does not find it again).
std::vector<std::function<bool()>> ErrorBox(const std::string &message, const std::string &what) {
    return {Find("Quorra Peripheral Engine"), Do([message, what](HWND box) {
                std::string expected = "An error has occurred:\n\n" + message;
                bool said = false, icon = false;
                for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                    char text[256] = {};
                    GetWindowTextA(child, text, sizeof text);
                    if (expected == text) said = true;
                    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = true;
                }
                Check(said, what + ": error box says \"" + message + "\"");
                Check(icon, what + ": error box shows an icon");
                SendMessageA(box, WM_COMMAND, IDOK, 0);
            })};
}

// ------------------------------------------------------------ screenshots
// The dialog painted whole before the picture is taken a moment later.
void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    GdiFlush();
}

void Put32(std::string &out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out += static_cast<char>((v >> s) & 0xFF);
}

uint32_t Crc(const std::string &data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void Chunk(std::string &png, const char *type, const std::string &data) {
    Put32(png, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    png += body;
    Put32(png, Crc(body));
}

// RGB rows as a PNG, deflated in stored blocks (no compression needed here).
std::string Png(int width, int height, const std::string &rows) {
    std::string ihdr;
    Put32(ihdr, width);
    Put32(ihdr, height);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    std::string z = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (std::size_t at = 0; at < rows.size() || at == 0; at += 65535) {
        std::size_t n = std::min<std::size_t>(65535, rows.size() - at);
        z += static_cast<char>(at + n >= rows.size() ? 1 : 0);
        z += static_cast<char>(n & 0xFF);
        z += static_cast<char>(n >> 8);
        z += static_cast<char>(~n & 0xFF);
        z += static_cast<char>((~n >> 8) & 0xFF);
        z.append(rows, at, n);
        if (at + n >= rows.size()) break;
    }
    for (unsigned char c : rows) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Put32(z, (b << 16) | a);
    std::string png = "\x89PNG\r\n\x1a\n";
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    return png;
}

// The window as the screen shows it, saved as a PNG; checked to show more
// than a blank face: several colours, and no colour covering almost all.
void Screenshot(HWND window, const std::string &path, const std::string &what) {
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    // PNG rows (a filter byte, then RGB) and how often each colour shows.
    std::string rows;
    std::map<uint32_t, std::size_t> colours;
    const uint32_t *pixel = static_cast<const uint32_t *>(bits);
    for (int y = 0; y < h; ++y) {
        rows += '\0';
        for (int x = 0; x < w; ++x) {
            uint32_t p = *pixel++ & 0xFFFFFF;
            rows += {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
            ++colours[p];
        }
    }
    std::size_t mostCommon = 0;
    for (const auto &c : colours) mostCommon = std::max(mostCommon, c.second);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::ofstream(path, std::ios::binary) << Png(w, h, rows);
    std::ostringstream what2;
    what2 << what << ": screenshot " << path << " (" << w << "x" << h << ", " << colours.size()
          << " colours) shows the controls";
    Check(w > 100 && h > 100 && colours.size() >= 4 && mostCommon * 100 < static_cast<std::size_t>(w) * h * 95,
          what2.str());
}

// ------------------------------------------------------------ the host
HWND g_host = nullptr;
HWND g_list = nullptr;

void CreateHostWindow() {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "ZalDialogTestHost";
    RegisterClassA(&cls);
    g_host = CreateWindowA("ZalDialogTestHost", "Shipping host", WS_OVERLAPPEDWINDOW, 40, 30, 760, 560, nullptr,
                           nullptr, cls.hInstance, nullptr);
    g_list = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 10, 10, 200, 100, g_host,
                           reinterpret_cast<HMENU>(601), cls.hInstance, nullptr);
    SendMessageA(g_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Label1"));
}

void Select(HostDevice *device) {
    SendMessageA(g_list, LB_SETITEMDATA, 0, reinterpret_cast<LPARAM>(device ? device->item.data() : nullptr));
    SendMessageA(g_list, LB_SETCURSEL, device ? 0 : static_cast<WPARAM>(-1), 0);
}

std::string ReadAll(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int CountLines(const std::string &path, const std::string &text) {
    std::istringstream in(ReadAll(path));
    std::string line;
    int n = 0;
    while (std::getline(in, line)) n += line.find(text) != std::string::npos;
    return n;
}

template <typename Fn>
Fn Export(HMODULE dll, const char *name) {
    FARPROC proc = GetProcAddress(dll, name);
    Check(proc != nullptr, std::string("GetProcAddress(\"") + name + "\")");
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(proc));
}

using ConfFn = int32_t(ZALAPI *)(_JobInfoA *, _PeripheralInfoA *);

}  // namespace

int main(int argc, char **argv) {
    const std::string shots = argc > 1 ? argv[1] : ".";
    CreateDirectoryA(shots.c_str(), nullptr);
    char tempRoot[MAX_PATH];
    GetTempPathA(sizeof tempRoot, tempRoot);
    // Wine reuses process ids: the tick count makes the folder this run's.
    const std::string temp = std::string(tempRoot) + "zaldialogs" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount()) + "\\";
    CreateDirectoryA(temp.c_str(), nullptr);
    // Under Xvfb no window manager draws frames: Wine draws the captions
    // itself, so the screenshots show them (Windows has no such key).
    HKEY wineX11;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &wineX11, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(wineX11, "Decorated", 0, REG_SZ, reinterpret_cast<const BYTE *>("N"), 2);
        RegCloseKey(wineX11);
    }
    // Every box is a real one: the script answers it.
    SetEnvironmentVariableA("ZAL2443_PROMPT", "ask");

    HMODULE dll = LoadLibraryA("ZAL2443.DLL");
    Check(dll != nullptr, "LoadLibraryA(\"ZAL2443.DLL\")");
    if (dll == nullptr) return 1;
    auto startup = Export<ZALStartupFn>(dll, "ZALStartup");
    auto setDebug = Export<ZALSetDebugAFn>(dll, "ZALSetDebugA");
    auto confA = Export<ConfFn>(dll, "ZALDevConfExA");
    auto confW = Export<ZALDevConfExWFn>(dll, ZAL_EXPORT_DEVCONFEXW_DECORATED);
    auto diag = Export<ConfFn>(dll, "ZALDevDiagA");
    auto shutdown = Export<ZALStartupFn>(dll, "ZALShutdown");
    if (g_failures != 0) return 1;
    startup();
    _LoggingConfigA logging = {};
    std::snprintf(logging.LogFolder, sizeof logging.LogFolder, "%s", temp.c_str());
    std::strcpy(logging.DebugLogName, "zal2443.log");
    std::strcpy(logging.ErrorLogName, "zal2443.err");
    logging.Flags = ZAL_LOG_INFO;
    setDebug(logging);
    const std::string log = temp + "zal2443.log";

    CreateHostWindow();
    SetTimer(nullptr, 0, 50, Tick);

    auto entry = std::make_unique<_JobProfileEntryA>();
    std::memset(entry.get(), 0, sizeof *entry);
    std::strcpy(entry->OptionKeyPrefix, "Label1");
    _JobInfoA job = {};
    job.JobTag = "DIAG1";
    job.ParentWindow = g_host;
    job.ProfileEntry = entry.get();
    auto peripheral = std::make_unique<_PeripheralInfoA>();
    std::memset(peripheral.get(), 0, sizeof *peripheral);
    HostDevice device;

    // ---------------------------------------------------- ZALDevConfExA
    Check(confA(nullptr, nullptr) == 1, "settings: no records: 1, nothing shown");

    // The first narrow call chooses the caption for the process: a Zebra
    // 2844 offers its speed list with a second "3.5" at the end.
    std::strcpy(peripheral->DeviceName, "Zebra 2844 (USB)");
    device.SetNarrow({"", "", "", ""});
    device.Link(false, true);
    Select(&device);
    Script({Find("Zebra 2844 Settings"), Do(Repaint), Wait(500), Do([&](HWND d) {
                Check(SendDlgItemMessageA(d, 802, CB_GETCOUNT, 0, 0) == 10 && Item(d, 802, 5) == "3.5" &&
                          Item(d, 802, 9) == "3.5",
                      "settings: Zebra 2844 speed list has 10 items, \"3.5\" at 6 and at 10");
                Check(SendDlgItemMessageA(d, 801, CB_GETCOUNT, 0, 0) == 15 && Item(d, 801, 14) == "15",
                      "settings: heat list 1 to 15");
                Check(Text(d, 801) == "10" && SendDlgItemMessageA(d, 801, CB_GETCURSEL, 0, 0) == 9,
                      "settings: empty options open with heat \"10\" selected");
                Check(Text(d, 802) == "2.5" && Text(d, 501) == "0" && Text(d, 502) == "20",
                      "settings: speed \"2.5\", offsets \"0\" and \"20\"");
                Check(GetFocus() == ComboEdit(d, 802) || GetFocus() == GetDlgItem(d, 802), "settings: speed list has the focus");
                Check(Text(d, 403) == "Speed (inches per second):" && Text(d, 1) == "&OK" && Text(d, 2) == "&Cancel",
                      "settings: control texts");
                Screenshot(d, shots + "\\settings-dialog.png", "settings");
                Press(d, IDCANCEL);
            })});
    int32_t rc = confA(&job, peripheral.get());
    ScriptDone("settings: first call");
    Check(rc == 1 && device.Narrow() == "10,2.5,0,20", "settings: Cancel writes the defaults back: " + device.Narrow());

    // Later narrow calls keep that caption, whatever their peripheral.
    std::strcpy(peripheral->DeviceName, "Eltron TLP2443");
    device.SetNarrow({"12", "", "5", ""});
    Script({Find("Zebra 2844 Settings"), Do([&](HWND d) {
                Check(Text(d, 801) == "12" && SendDlgItemMessageA(d, 801, CB_GETCURSEL, 0, 0) == 11,
                      "settings: Option1 \"12\" selects heat item \"12\"");
                Type(ComboEdit(d, 801), "123456");
                Type(GetDlgItem(d, 501), "a1b2c34");
                Check(Text(d, 501) == "123", "settings: offset field takes digits only, three at most: " + Text(d, 501));
                Press(d, IDOK);
            })});
    rc = confA(&job, peripheral.get());
    ScriptDone("settings: caption kept");
    Check(rc == 1 && device.Narrow() == "12345,2.5,123,20", "settings: OK stores \"12345\" and \"123\": " + device.Narrow());

    device.SetNarrow({"25", "1.5", "", "7"});
    Script({Find("Zebra 2844 Settings"), Do([&](HWND d) {
                Check(Text(d, 801) == "25" && SendDlgItemMessageA(d, 801, CB_GETCURSEL, 0, 0) == CB_ERR,
                      "settings: heat \"25\" stands in the field with no item selected");
                Check(Text(d, 802) == "1.5", "settings: Option2 \"1.5\" selects speed \"1.5\"");
                SendDlgItemMessageA(d, 802, CB_SETCURSEL, 6, 0);
                Press(d, IDOK);
            })});
    rc = confA(&job, peripheral.get());
    ScriptDone("settings: heat not in the list");
    Check(rc == 1 && device.Narrow() == "25,4,0,7", "settings: OK keeps \"25\", the chosen speed \"4\": " + device.Narrow());

    // Failures: the dialog shows the error box as it opens and ends; the
    // entry then leaves the node as it is and answers 0.
    const std::string before = device.Narrow();
    Select(nullptr);
    Script(ErrorBox("Error retrieving device data from list.", "settings: no selected item"));
    rc = confA(&job, peripheral.get());
    ScriptDone("settings: no selected item");
    Check(rc == 0 && device.Narrow() == before, "settings: no selected item: 0, node untouched");

    device.Link(false, false);
    Select(&device);
    Script(ErrorBox("Error retrieving device configuration data from node.", "settings: item without node"));
    rc = confA(&job, peripheral.get());
    ScriptDone("settings: item without node");
    Check(rc == 0, "settings: item without node: 0");

    Script(ErrorBox("Error retrieving configuration job information.", "settings: no job record"));
    rc = confA(nullptr, peripheral.get());
    ScriptDone("settings: no job record");
    Check(rc == 0, "settings: no job record with a peripheral: 0");

    // ---------------------------------------------------- ZALDevConfExW
    // The wide entry chooses its caption on every call and reads the node
    // through the wide item offset and fields.
    _JobInfoW wjob = {};
    wjob.ParentWindow = g_host;
    auto wperipheral = std::make_unique<_PeripheralInfoW>();
    struct WideCase {
        const char16_t *name;
        const char *title;
        int speeds;
    };
    const WideCase wideCases[] = {{u"Zebra 2844", "Zebra 2844 Settings", 10},
                                  {u"Acme LP", "Standard Eltron (EPL/2443) Settings", 9}};
    device.Link(true, true);
    for (const WideCase &c : wideCases) {
        std::memset(wperipheral.get(), 0, sizeof *wperipheral);
        std::memcpy(wperipheral->DeviceName, c.name, std::char_traits<char16_t>::length(c.name) * 2);
        device.SetWide({"7", "3", "", ""});
        const std::string what = std::string("wide settings \"") + c.title + "\"";
        Script({Find(c.title), Do([&](HWND d) {
                    Check(SendDlgItemMessageA(d, 802, CB_GETCOUNT, 0, 0) == c.speeds, what + ": speed list size");
                    Check(Text(d, 801) == "7" && Text(d, 802) == "3", what + ": opens with the wide node's options");
                    Type(GetDlgItem(d, 501), "45");
                    Press(d, IDOK);
                })});
        rc = confW(&wjob, wperipheral.get());
        ScriptDone(what);
        Check(rc == 1 && device.Wide() == "7,3,45,20", what + ": OK writes the wide fields: " + device.Wide());
    }

    // ---------------------------------------------------- ZALDevDiagA
    // The device's port is the FILE port: the bytes sent land in Label1.out
    // in the settings' folder.
    const std::string profile = temp + "profile.ini", settings = temp + "settings.ini", out = temp + "Label1.out";
    std::ofstream(profile, std::ios::binary) << "[PeripheralSetup]\r\nLabel1=FILE,Label - Eltron Standard ( EPL II; 203 dpi ),,,\r\n";
    std::ofstream(settings, std::ios::binary) << "[Setup]\r\nFileLocation=" << temp << "\r\n";
    job.ProfileFile = profile.c_str();
    job.SettingsFile = settings.c_str();
    device.Link(false, true);
    Select(&device);
    Script({Find("Eltron Diagnostics"), Do(Repaint), Wait(500), Do([&](HWND d) {
                Check(Text(d, 703) == "Print Configuration Label" && Text(d, 704) == "Print Network Config Label" &&
                          Text(d, 705) == "Print Status Query Label" && Text(d, 702) == "Close",
                      "diag: button texts");
                Screenshot(d, shots + "\\diagnostics-dialog.png", "diag");
                Press(d, 703);
                Check(ReadAll(out) == "U\n", "diag: Print Configuration Label sends \"U\\n\" (" +
                                                  std::to_string(ReadAll(out).size()) + " bytes in " + out + ")");
                Press(d, 703);
                Check(ReadAll(out) == "U\nU\n", "diag: a second press sends it again");
                Press(d, 704);
                Press(d, 705);
                Check(ReadAll(out) == "U\nU\n", "diag: network and status buttons send nothing");
                Check(IsWindowVisible(d) != FALSE, "diag: the dialog stays open after the presses");
                Press(d, 702);
            })});
    rc = diag(&job, peripheral.get());
    ScriptDone("diag: presses");
    Check(rc == 1, "diag: returns 1");
    Check(CountLines(log, "Job is missing media type, setting to library default type of 'Label 4x6\"'") == 4 &&
              CountLines(log, "Job is missing orientation, setting to library default type of 'Portrait'") == 4,
          "diag: each of the four presses configures the device afresh with the default media and orientation");
    Check(CountLines(log, "DIAG1    Sending Print Configuration Label command 'U' to printer...") == 2,
          "diag: two configuration labels, logged under the job tag");

    Select(nullptr);
    Script(ErrorBox("Error retrieving device data from list.", "diag: no selected item"));
    rc = diag(&job, peripheral.get());
    ScriptDone("diag: no selected item");
    Check(rc == 1 && ReadAll(out) == "U\nU\n", "diag: no selected item: 1, nothing sent");

    Script(ErrorBox("Error retrieving diagnostic job information.", "diag: no job record"));
    rc = diag(nullptr, peripheral.get());
    ScriptDone("diag: no job record");
    Check(rc == 1, "diag: no job record with a peripheral: 1");
    Check(diag(nullptr, nullptr) == 1, "diag: no records: 1");

    shutdown();
    for (const char *name : {"profile.ini", "settings.ini", "Label1.out", "zal2443.log", "zal2443.err"}) {
        DeleteFileA((temp + name).c_str());
    }
    RemoveDirectoryA(temp.c_str());
    DestroyWindow(g_host);
    FreeLibrary(dll);
    std::printf("%d failure(s)\n", g_failures);
    std::fflush(stdout);
    return g_failures == 0 ? 0 : 1;
}
