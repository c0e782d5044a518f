/* Resource ids and fixed texts of the settings and diagnostics dialogs.
 * Plain macros: the resource compiler reads this header too (the dialog
 * templates and the string table in platform/win32/Dialogs.rc), so each
 * text is written once for the Windows dialogs and the Linux form. */
#ifndef ZAL2443_DIALOG_RESOURCES_H
#define ZAL2443_DIALOG_RESOURCES_H

/* Settings dialog, template 101. */
#define IDD_SETTINGS 101
#define IDS_SETTINGS_CAPTION 102
#define IDC_SETTINGS_GROUP 401
#define IDC_HEAT_LABEL 402
#define IDC_SPEED_LABEL 403
#define IDC_VOFFSET_LABEL 404
#define IDC_HOFFSET_LABEL 405
#define IDC_VOFFSET 501
#define IDC_HOFFSET 502
#define IDC_HEAT 801
#define IDC_SPEED 802

#define TEXT_SETTINGS_TITLE "Eltron 2443 Settings"
#define TEXT_SETTINGS_CAPTION "Standard Eltron (EPL/2443) Settings"
#define TEXT_SPEED_LABEL "Speed (inches per second):"
#define TEXT_HEAT_LABEL "Heat (density):"
#define TEXT_VOFFSET_LABEL "Vertical Offset:"
#define TEXT_HOFFSET_LABEL "Horizontal Offset:"
#define TEXT_OK "&OK"
#define TEXT_CANCEL "&Cancel"

/* Diagnostics dialog, template 1001. */
#define IDD_DIAGNOSTICS 1001
#define IDC_DIAG_CLOSE 702
#define IDC_DIAG_CONFIG 703
#define IDC_DIAG_NETWORK 704
#define IDC_DIAG_STATUS 705

#define TEXT_DIAG_TITLE "Eltron Diagnostics"
#define TEXT_DIAG_CONFIG "Print Configuration Label"
#define TEXT_DIAG_NETWORK "Print Network Config Label"
#define TEXT_DIAG_STATUS "Print Status Query Label"
#define TEXT_DIAG_NOTE "Note: Some functionality is only available on certain models or firmwares."
#define TEXT_DIAG_CLOSE "Close"

/* The host's device list box in the owner window. */
#define IDC_HOST_DEVICE_LIST 601

#endif
