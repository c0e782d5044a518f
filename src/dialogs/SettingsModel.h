// The printer settings dialog without a toolkit: its lists, what it shows
// when it opens, what OK and Cancel keep, the offset fields' rule and the
// captions.  The Windows dialog and the Linux form both run on it.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zal::dialogs {

// The four options of a device's configuration node, in the node's order
// (Option1 to Option4).
enum Option { kHeat, kSpeed, kVerticalOffset, kHorizontalOffset };
using OptionTexts = std::array<std::string, 4>;

constexpr std::size_t kSettingLength = 5;      // what OK keeps of a control's text
constexpr std::size_t kStartValueLength = 49;  // what is kept of a control's text when the dialog opens
constexpr std::size_t kOffsetFieldLength = 3;  // digits an offset field takes
constexpr std::size_t kCaptionLength = 99;

// The caption a printer model gets; the Zebra 2844's speed list has one more item.
constexpr const char *kEltronCaption = "Eltron 2443 Settings";
constexpr const char *kZebraCaption = "Zebra 2844 Settings";
constexpr const char *kStandardEltronCaption = "Standard Eltron Settings";

// What a drop-down list with an edit field shows when the dialog opens: an
// item selected, or a text no item begins with standing alone in the field.
struct ComboStart {
    int selected = -1;  // item index; -1 when the text stands alone
    std::string text;   // what the control shows
};

class SettingsModel {
public:
    // node: the options as the device's configuration node holds them.
    SettingsModel(const std::string &caption, const OptionTexts &node);

    const std::string &Caption() const { return _caption; }
    const std::vector<std::string> &HeatItems() const { return _heatItems; }
    const std::vector<std::string> &SpeedItems() const { return _speedItems; }
    const ComboStart &Heat() const { return _heat; }
    const ComboStart &Speed() const { return _speed; }
    const std::string &VerticalOffset() const { return _start[kVerticalOffset]; }
    const std::string &HorizontalOffset() const { return _start[kHorizontalOffset]; }
    // The texts of the four controls once the dialog has opened (at most 49
    // characters each): what Cancel goes back to.
    const OptionTexts &StartValues() const { return _start; }

    // OK: the four controls' texts, each cut to what a setting holds.
    static OptionTexts Accept(const OptionTexts &controls);
    // Cancel: the start values, cut the same way.
    OptionTexts Cancel() const;

private:
    std::string _caption;
    std::vector<std::string> _heatItems;
    std::vector<std::string> _speedItems;
    ComboStart _heat;
    ComboStart _speed;
    OptionTexts _start;
};

// Whether an offset field holds this after typing: digits only, at most 3.
bool OffsetFieldAccepts(std::string_view text);

// The caption for a device text that names a printer model, "" for none.
// The wide entry knows one more model name ("Eltron Standard").
std::string ModelCaption(std::string_view deviceText);
std::string WideModelCaption(std::u16string_view deviceText);

// Where CenterWindowOnParent puts a dialog: its left and top so that its
// centre lies on the centre of the parent's rectangle, or on the centre of
// the screen when there is no parent or the parent's left or top is
// negative.
struct Rect {
    long left, top, right, bottom;
};
struct Point {
    long x, y;
};
Point CenteredOrigin(const Rect *parent, long screenWidth, long screenHeight, const Rect &dialog);

}  // namespace zal::dialogs
