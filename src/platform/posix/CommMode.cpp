// BuildCommDCB: the mode texts of the "ports" section of win.ini.
//
//   [COMn[:]] baud,parity,data,stop[,x|p]   old form: all four fields
//   [COMn[:]] key=value key=value ...       new form: blank-separated
//
// Old form: baud in decimal or one of the two-digit shorthands 11 15 30 60
// 12 24 48 96 19 (110 to 19200 baud); parity n, o, e, m or s; data 5 to 8;
// stop 1, 1.5 or 2; a fifth field x sets XON/XOFF, p the hardware
// handshake (CTS and DSR watched, DTR and RTS handshaking), none of them
// plain lines (no flow control, DTR and RTS on).  Blanks may stand around
// the commas.
// New form (keys and values in any case): baud= (decimal, no shorthand),
// parity=, data=, stop=, xon=on|off (both directions), odsr=on|off,
// octs=on|off, dtr=on|off|hs, rts=on|off|hs|tg, and to=on|off and
// idsr=on|off, which are checked but touch no line setting here.  Only the
// fields named change.
// Either way stop bits not named become one, two when the text sets 110
// baud; so an empty text (or "COM1:" alone) succeeds and sets one stop
// bit.  Anything else fails with 87 and changes nothing.
#include <cctype>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace zal::platform {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

// Decimal digits only; values past the 32-bit range stay at its top.
bool ParseBaud(std::string_view text, uint32_t &baud) {
    if (text.empty()) return false;
    uint64_t value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFu) value = 0xFFFFFFFFu;
    }
    baud = static_cast<uint32_t>(value);
    return true;
}

bool ParseParity(std::string_view text, uint8_t &parity) {
    // clang-format off
    static constexpr char kLetters[] = {'n', 'o', 'e', 'm', 's'};  // 0 to 4
    // clang-format on
    if (text.size() != 1) return false;
    for (uint8_t i = 0; i < sizeof kLetters; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[0])) == kLetters[i]) {
            parity = i;
            return true;
        }
    }
    return false;
}

bool ParseData(std::string_view text, uint8_t &bits) {
    if (text.size() != 1 || text[0] < '5' || text[0] > '8') return false;
    bits = static_cast<uint8_t>(text[0] - '0');
    return true;
}

bool ParseStop(std::string_view text, uint8_t &stop) {
    if (text == "1") stop = 0;
    else if (text == "1.5") stop = 1;
    else if (text == "2") stop = 2;
    else return false;
    return true;
}

// Index of text in the choices, or -1.
int Choice(std::string_view text, std::initializer_list<std::string_view> choices) {
    int i = 0;
    for (std::string_view c : choices) {
        if (EqualsNoCase(text, c)) return i;
        ++i;
    }
    return -1;
}

struct Parsed {
    bool baudGiven = false;
    bool stopGiven = false;
};

bool ParseOldForm(std::string_view text, CommState &s, Parsed &p) {
    // clang-format off
    struct Shorthand { uint32_t written, baud; };
    static constexpr Shorthand kShorthands[] = {
        {11, 110}, {15, 150}, {30, 300}, {60, 600}, {12, 1200}, {24, 2400}, {48, 4800}, {96, 9600}, {19, 19200},
    };
    // clang-format on
    std::vector<std::string_view> fields = Split(text, ',');
    if (fields.size() < 4 || fields.size() > 5) return false;
    for (std::string_view &f : fields) f = TrimBlanks(f);
    if (!ParseBaud(fields[0], s.baudRate) || !ParseParity(fields[1], s.parity) || !ParseData(fields[2], s.byteSize) ||
        !ParseStop(fields[3], s.stopBits))
        return false;
    if (fields[0].size() == 2) {
        for (const Shorthand &h : kShorthands) {
            if (s.baudRate == h.written) s.baudRate = h.baud;
        }
    }
    int flow = fields.size() == 5 ? Choice(fields[4], {"", "x", "p"}) : 0;
    if (flow < 0) return false;
    s.outX = s.inX = flow == 1;
    s.outxCtsFlow = s.outxDsrFlow = flow == 2;
    s.dtrControl = s.rtsControl = flow == 2 ? 2 : 1;  // handshake : enable
    p.baudGiven = p.stopGiven = true;
    return true;
}

bool ParseNewForm(std::string_view text, CommState &s, Parsed &p) {
    for (std::string_view token : Split(text, ' ')) {
        if (token.empty()) continue;  // runs of blanks
        std::vector<std::string_view> kv = Split(token, '=');
        if (kv.size() != 2 || kv[1].empty()) return false;
        std::string_view key = kv[0], value = kv[1];
        int onOff = Choice(value, {"off", "on"});
        bool ok = true;
        if (EqualsNoCase(key, "baud")) {
            ok = ParseBaud(value, s.baudRate);
            p.baudGiven = true;
        } else if (EqualsNoCase(key, "parity")) {
            ok = ParseParity(value, s.parity);
        } else if (EqualsNoCase(key, "data")) {
            ok = ParseData(value, s.byteSize);
        } else if (EqualsNoCase(key, "stop")) {
            ok = ParseStop(value, s.stopBits);
            p.stopGiven = true;
        } else if (EqualsNoCase(key, "xon")) {
            ok = onOff >= 0;
            s.outX = s.inX = onOff == 1;
        } else if (EqualsNoCase(key, "odsr")) {
            ok = onOff >= 0;
            s.outxDsrFlow = onOff == 1;
        } else if (EqualsNoCase(key, "octs")) {
            ok = onOff >= 0;
            s.outxCtsFlow = onOff == 1;
        } else if (EqualsNoCase(key, "dtr")) {
            int v = Choice(value, {"off", "on", "hs"});  // the DTR_CONTROL values
            ok = v >= 0;
            if (ok) s.dtrControl = static_cast<uint8_t>(v);
        } else if (EqualsNoCase(key, "rts")) {
            int v = Choice(value, {"off", "on", "hs", "tg"});  // the RTS_CONTROL values
            ok = v >= 0;
            if (ok) s.rtsControl = static_cast<uint8_t>(v);
        } else if (EqualsNoCase(key, "to") || EqualsNoCase(key, "idsr")) {
            ok = onOff >= 0;
        } else {
            ok = false;
        }
        if (!ok) return false;
    }
    return true;
}

// "COM1:", "COM1 :", "com12 " before the settings; false for a prefix
// followed by neither a colon nor a blank ("COM1" alone, "COM19600").
bool SkipPortName(std::string_view &text) {
    if (text.size() < 4 || !EqualsNoCase(text.substr(0, 3), "COM") || !std::isdigit(static_cast<unsigned char>(text[3])))
        return true;
    std::size_t i = 3;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    std::string_view rest = text.substr(i);
    std::string_view trimmed = TrimBlanks(rest);
    bool colon = !trimmed.empty() && trimmed.front() == ':';
    if (!colon && (rest.empty() || rest.front() != ' ')) return false;
    text = TrimBlanks(colon ? trimmed.substr(1) : trimmed);
    return true;
}

}  // namespace

bool BuildCommDCB(const char *mode, CommState &state) {
    std::string_view text = TrimBlanks(mode != nullptr ? mode : "");
    CommState s = state;
    Parsed p;
    bool ok = mode != nullptr && SkipPortName(text);
    if (ok && !text.empty()) {
        ok = text.find('=') != std::string_view::npos ? ParseNewForm(text, s, p) : ParseOldForm(text, s, p);
    }
    if (!ok) {
        SetLastError(kErrorInvalidParameter);
        return false;
    }
    if (!p.stopGiven) s.stopBits = p.baudGiven && s.baudRate == 110 ? 2 : 0;
    state = s;
    return true;
}

}  // namespace zal::platform
