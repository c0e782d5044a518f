// The settings dialog's model: what it opens with, what OK and Cancel keep,
// the offset fields' rule, the captions and where the dialog is placed.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/SettingsModel.h"

using zal::dialogs::ComboStart;
using zal::dialogs::OptionTexts;
using zal::dialogs::SettingsModel;

namespace {

struct StartRow {
    const char *caption;
    OptionTexts node;
    int heatSelected;
    const char *heat;
    int speedSelected;
    const char *speed;
    const char *verticalOffset;
    const char *horizontalOffset;
};

TEST(SettingsModel, OpensWithTheNodesOptionsOrTheDefaults) {
    const std::string long60(60, '7');
    // clang-format off
    const StartRow rows[] = {
        /*  0*/ {"Eltron 2443 Settings", {"", "", "", ""},         9, "10", 3, "2.5", "0", "20"},
        /*  1*/ {"Eltron 2443 Settings", {"12", "3", "5", "0"},   11, "12", 4, "3",   "5", "0"},
        // No item begins with "25": it stands in the field alone.
        /*  2*/ {"Eltron 2443 Settings", {"25", "7", "", ""},     -1, "25", -1, "7",  "0", "20"},
        // The first item that begins with the option: "1" is item "1", not "10".
        /*  3*/ {"Eltron 2443 Settings", {"1", "1", "", ""},       0, "1",  0, "1",   "0", "20"},
        /*  4*/ {"Zebra 2844 Settings",  {"", "3.5", "", ""},      9, "10", 5, "3.5", "0", "20"},
        // Texts longer than a start value keeps are cut to 49 characters.
        /*  5*/ {"Eltron 2443 Settings", {long60, "", long60, ""}, -1, "", 3, "2.5", "", "20"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const StartRow &row = rows[i];
        SettingsModel model(row.caption, row.node);
        std::string cut49(49, '7');
        EXPECT_EQ(model.Heat().selected, row.heatSelected) << "row " << i;
        EXPECT_EQ(model.Heat().text, i == 5 ? cut49 : std::string(row.heat)) << "row " << i;
        EXPECT_EQ(model.Speed().selected, row.speedSelected) << "row " << i;
        EXPECT_EQ(model.Speed().text, row.speed) << "row " << i;
        EXPECT_EQ(model.VerticalOffset(), i == 5 ? cut49 : std::string(row.verticalOffset)) << "row " << i;
        EXPECT_EQ(model.HorizontalOffset(), row.horizontalOffset) << "row " << i;
        EXPECT_EQ(model.StartValues()[zal::dialogs::kHeat], model.Heat().text) << "row " << i;
    }
}

TEST(SettingsModel, OkKeepsFiveCharactersAndCancelTheStartValues) {
    EXPECT_EQ(SettingsModel::Accept({"123456", "2.5", "12", ""}), (OptionTexts{"12345", "2.5", "12", ""}));
    SettingsModel model("Eltron 2443 Settings", {"abcdefg", "", "", "7"});
    EXPECT_EQ(model.Cancel(), (OptionTexts{"abcde", "2.5", "0", "7"}));
}

TEST(SettingsModel, OffsetFieldsTakeAtMostThreeDigits) {
    // clang-format off
    const struct { const char *text; bool accepted; } rows[] = {
        /*  0*/ {"", true}, /*  1*/ {"0", true}, /*  2*/ {"123", true}, /*  3*/ {"1234", false},
        /*  4*/ {"1a", false}, /*  5*/ {"-1", false}, /*  6*/ {" 1", false}, /*  7*/ {"1.5", false},
    };
    // clang-format on
    for (const auto &row : rows) EXPECT_EQ(zal::dialogs::OffsetFieldAccepts(row.text), row.accepted) << row.text;
}

TEST(SettingsModel, CaptionsByPrinterModel) {
    // clang-format off
    const struct { const char16_t *device; const char *narrow; const char *wide; } rows[] = {
        /*  0*/ {u"Eltron TLP2443 (LPT1)", "Eltron 2443 Settings", "Eltron 2443 Settings"},
        /*  1*/ {u"USB Zebra 2844 - 1234",  "Zebra 2844 Settings",  "Zebra 2844 Settings"},
        // Only the wide entry knows the standard Eltron model.
        /*  2*/ {u"Label - Eltron Standard ( EPL II; 203 dpi )", "", "Standard Eltron Settings"},
        /*  3*/ {u"eltron tlp2443", "", ""},
        /*  4*/ {u"", "", ""},
    };
    // clang-format on
    for (const auto &row : rows) {
        std::u16string wide = row.device;
        std::string narrow(wide.begin(), wide.end());
        EXPECT_EQ(zal::dialogs::ModelCaption(narrow), row.narrow) << narrow;
        EXPECT_EQ(zal::dialogs::WideModelCaption(wide), row.wide) << narrow;
    }
}

TEST(SettingsModel, DialogIsCentredOnItsParentOrTheScreen) {
    using zal::dialogs::Rect;
    const Rect dialog{0, 0, 201, 101};
    // clang-format off
    const struct { bool hasParent; Rect parent; long x, y; } rows[] = {
        /*  0*/ {true,  {100, 100, 500, 400}, 200, 200},
        /*  1*/ {true,  {0, 0, 300, 200},      50, 50},
        // A parent left or above the screen's origin: the screen's centre.
        /*  2*/ {true,  {-10, 100, 500, 400}, 412, 334},
        /*  3*/ {true,  {100, -1, 500, 400},  412, 334},
        /*  4*/ {false, {},                   412, 334},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        zal::dialogs::Point at =
            zal::dialogs::CenteredOrigin(rows[i].hasParent ? &rows[i].parent : nullptr, 1024, 768, dialog);
        EXPECT_EQ(at.x, rows[i].x) << "row " << i;
        EXPECT_EQ(at.y, rows[i].y) << "row " << i;
    }
}

}  // namespace
