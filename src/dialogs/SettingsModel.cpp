#include "dialogs/SettingsModel.h"

#include <cctype>

namespace zal::dialogs {
namespace {

// clang-format off
const char *const kHeatItems[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"};
const char *const kSpeedItems[] = {"1", "1.5", "2", "2.5", "3", "3.5", "4", "5", "6"};
// The Zebra 2844's list ends in a second "3.5": the same speed, 3.5 inches
// per second (code 4 for a job), offered once more at the end.
constexpr const char *kZebraExtraSpeed = "3.5";

// What an empty option opens with.
const char *const kStartDefaults[4] = {"10", "2.5", "0", "20"};
// clang-format on

bool BeginsWithNoCase(const std::string &item, const std::string &text) {
    if (text.size() > item.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(item[i])) != std::tolower(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

std::string Cut(const std::string &text, std::size_t length) { return text.substr(0, length); }

// A list selects the first item that begins with the option (as a combo box
// searches its items); an option no item begins with stands in the edit
// field alone.  An empty option selects the default item.
ComboStart StartOf(const std::vector<std::string> &items, const std::string &option, const char *defaultItem) {
    const std::string wanted = option.empty() ? std::string(defaultItem) : option;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (BeginsWithNoCase(items[i], wanted)) return {static_cast<int>(i), items[i]};
    }
    return {-1, Cut(wanted, kStartValueLength)};
}

template <typename Text>
bool Contains(Text text, Text needle) {
    return text.find(needle) != Text::npos;
}

}  // namespace

SettingsModel::SettingsModel(const std::string &caption, const OptionTexts &node)
    : _caption(Cut(caption, kCaptionLength)),
      _heatItems(std::begin(kHeatItems), std::end(kHeatItems)),
      _speedItems(std::begin(kSpeedItems), std::end(kSpeedItems)) {
    if (_caption == kZebraCaption) _speedItems.emplace_back(kZebraExtraSpeed);
    _heat = StartOf(_heatItems, node[kHeat], kStartDefaults[kHeat]);
    _speed = StartOf(_speedItems, node[kSpeed], kStartDefaults[kSpeed]);
    _start[kHeat] = _heat.text;
    _start[kSpeed] = _speed.text;
    for (Option o : {kVerticalOffset, kHorizontalOffset}) {
        _start[o] = Cut(node[o].empty() ? std::string(kStartDefaults[o]) : node[o], kStartValueLength);
    }
}

OptionTexts SettingsModel::Accept(const OptionTexts &controls) {
    OptionTexts kept;
    for (std::size_t i = 0; i < kept.size(); ++i) kept[i] = Cut(controls[i], kSettingLength);
    return kept;
}

OptionTexts SettingsModel::Cancel() const { return Accept(_start); }

bool OffsetFieldAccepts(std::string_view text) {
    if (text.size() > kOffsetFieldLength) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::string ModelCaption(std::string_view deviceText) {
    if (Contains(deviceText, std::string_view("Eltron TLP2443"))) return kEltronCaption;
    if (Contains(deviceText, std::string_view("Zebra 2844"))) return kZebraCaption;
    return std::string();
}

std::string WideModelCaption(std::u16string_view deviceText) {
    if (Contains(deviceText, std::u16string_view(u"Eltron TLP2443"))) return kEltronCaption;
    if (Contains(deviceText, std::u16string_view(u"Zebra 2844"))) return kZebraCaption;
    if (Contains(deviceText, std::u16string_view(u"Eltron Standard"))) return kStandardEltronCaption;
    return std::string();
}

Point CenteredOrigin(const Rect *parent, long screenWidth, long screenHeight, const Rect &dialog) {
    Point centre{screenWidth / 2, screenHeight / 2};
    if (parent != nullptr && parent->left >= 0 && parent->top >= 0) {
        centre = {parent->left + (parent->right - parent->left) / 2, parent->top + (parent->bottom - parent->top) / 2};
    }
    long width = dialog.right - dialog.left;
    long height = dialog.bottom - dialog.top;
    return {centre.x - width / 2, centre.y - height / 2};
}

}  // namespace zal::dialogs
