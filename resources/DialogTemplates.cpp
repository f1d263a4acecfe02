#include "resources/DialogTemplates.h"

#include <array>

#include "resources/Resource.h"

namespace {

using enum ControlKind;

constexpr const char* kFont = "Tahoma";
constexpr int kFontPoints = 8;

constexpr DialogControl kAboutControls[] = {
    {IDC_STATIC, Icon, "", CS_NONE, {6, 2, 21, 20}, IDI_APP},
    {IDC_STATIC, Static, "Kestrune", CS_NONE, {63, 7, 43, 13}},
    {IDC_STATIC, Static, "Homepage:", CS_NONE, {25, 63, 37, 12}},
    {IDC_HOMEPAGE, Hyperlink, "", CS_TABSTOP, {82, 63, 61, 12}},
    {IDC_OK, DefaultButton, "OK", CS_TABSTOP, {61, 112, 48, 14}},
};

constexpr DialogControl kMainControls[] = {
    {IDC_FILELIST, ReportList, "", CS_SHOWSELALWAYS | CS_MULTISELECT | CS_BORDER | CS_TABSTOP, {2, 35, 597, 336}},
};

constexpr DialogControl kProcessingControls[] = {
    {IDC_PROCESSING_BAR, ProgressBar, "", CS_BORDER, {7, 7, 302, 11}},
    {IDC_PROCESSING_CANCEL, Button, "Cancel", CS_TABSTOP, {259, 23, 50, 14}},
};

constexpr DialogControl kProgressControls[] = {
    {IDC_CURRENT_GROUP, GroupBox, "Current Progress", CS_NONE, {7, 4, 354, 48}},
    {IDC_CURRENT_BAR, ProgressBar, "", CS_SMOOTH | CS_BORDER, {14, 20, 339, 10}},
    {IDC_CURRENT_DONE_LABEL, Static, "Done:", CS_NONE, {24, 36, 20, 10}},
    {IDC_CURRENT_DONE, Static, "0.00%", CS_RIGHT, {48, 36, 30, 10}},
    {IDC_CURRENT_SPEED_LABEL, Static, "Speed:", CS_NONE, {106, 36, 26, 10}},
    {IDC_CURRENT_SPEED, Static, "0.00x", CS_RIGHT, {134, 36, 27, 10}},
    {IDC_CURRENT_ELAPSED_LABEL, Static, "Elapsed:", CS_NONE, {191, 36, 28, 10}},
    {IDC_CURRENT_ELAPSED, Static, "00:00:00", CS_RIGHT, {222, 37, 33, 10}},
    {IDC_CURRENT_ETA_LABEL, Static, "ETA:", CS_NONE, {283, 36, 17, 10}},
    {IDC_CURRENT_ETA, Static, "00:00:00", CS_RIGHT, {302, 37, 33, 10}},
    {IDC_OVERALL_GROUP, GroupBox, "Overall Progress", CS_NONE, {7, 56, 354, 48}},
    {IDC_OVERALL_BAR, ProgressBar, "", CS_SMOOTH | CS_BORDER, {13, 72, 339, 10}},
    {IDC_OVERALL_DONE_LABEL, Static, "Done:", CS_NONE, {24, 88, 20, 10}},
    {IDC_OVERALL_DONE, Static, "0.00%", CS_RIGHT, {48, 88, 30, 10}},
    {IDC_OVERALL_SPEED_LABEL, Static, "Speed:", CS_NONE, {106, 88, 26, 10}},
    {IDC_OVERALL_SPEED, Static, "0.00x", CS_RIGHT, {134, 88, 27, 10}},
    {IDC_OVERALL_ELAPSED_LABEL, Static, "Elapsed:", CS_NONE, {191, 88, 28, 10}},
    {IDC_OVERALL_ELAPSED, Static, "00:00:00", CS_RIGHT, {222, 89, 33, 10}},
    {IDC_OVERALL_ETA_LABEL, Static, "ETA:", CS_NONE, {283, 88, 17, 10}},
    {IDC_OVERALL_ETA, Static, "00:00:00", CS_RIGHT, {302, 89, 33, 10}},
    {IDC_SOURCE_LABEL, Static, "Source:", CS_NONE, {9, 110, 34, 10}},
    {IDC_SOURCE, Static, "", CS_NONE, {62, 110, 298, 10}},
    {IDC_DESTINATION_LABEL, Static, "Destination:", CS_NONE, {9, 127, 43, 10}},
    {IDC_DESTINATION, Static, "", CS_NONE, {62, 127, 298, 10}},
    {IDC_LOG, ReportList, "", CS_SHOWSELALWAYS | CS_BORDER | CS_TABSTOP, {3, 144, 362, 105}},
    {IDC_CLEAR, Button, "Clear", CS_TABSTOP, {75, 255, 48, 13}},
    {IDC_PAUSE, Button, "Pause", CS_TABSTOP, {159, 255, 48, 13}},
    {IDC_CANCEL, Button, "Cancel", CS_TABSTOP, {243, 255, 48, 13}},
};

// OK comes first so that it takes the focus when the dialog opens.
constexpr DialogControl kOptionsControls[] = {
    {IDC_OK, DefaultButton, "OK", CS_TABSTOP, {133, 147, 50, 14}},
    {IDC_STATIC, Static, "Output Folder:", CS_NONE, {7, 3, 50, 8}},
    {IDC_OUTPUT_FOLDER, Edit, "", CS_DISABLED | CS_BORDER | CS_AUTOHSCROLL, {19, 15, 262, 13}},
    {IDC_BROWSE, Button, "...", CS_TABSTOP, {283, 15, 21, 13}},
    {IDC_STATIC, GroupBox, "Encoder Settings", CS_NONE, {7, 33, 302, 107}},
    {IDC_FREQUENCY_LABEL, Static, "Sampling Frequency:", CS_NONE, {21, 51, 75, 12}},
    {IDC_SECOND_LABEL, Static, "Bitrate:", CS_NONE, {21, 74, 75, 12}},
    {IDC_THIRD_LABEL, Static, "Channel Mode:", CS_NONE, {21, 97, 75, 12}},
    {IDC_FREQUENCY, ComboBox, "", CS_VSCROLL | CS_TABSTOP, {109, 51, 190, 12}},
    {IDC_CHANNEL_MODE, ComboBox, "", CS_VSCROLL | CS_TABSTOP, {109, 74, 190, 12}},
    {IDC_BITRATE, ComboBox, "", CS_VSCROLL | CS_TABSTOP, {109, 97, 190, 12}},
    {IDC_BITRATE_NOTE, Static, "NOTE: The Bitrate is Estimated  for Stereo 44100 Hz.", CS_NONE, {21, 120, 257, 12}},
    {IDC_RESET, Button, "Reset", CS_TABSTOP, {54, 147, 50, 14}},
    {IDC_CANCEL, Button, "Cancel", CS_TABSTOP, {212, 147, 50, 14}},
};

constexpr unsigned kResizableFrame = DF_CAPTION | DF_SYSMENU | DF_MINIMIZEBOX | DF_MAXIMIZEBOX | DF_RESIZABLE;

constexpr std::array kTemplates = {
    DialogTemplate{IDD_ABOUTBOX, "About Kestrune", 170, 130, kFont, kFontPoints, DF_CAPTION | DF_SYSMENU,
                   kAboutControls},
    DialogTemplate{IDD_MAIN, "Kestrune", 601, 388, kFont, kFontPoints, kResizableFrame | DF_APPWINDOW, kMainControls},
    DialogTemplate{IDD_PROCESSING, "Processing Audio Files...", 316, 44, kFont, kFontPoints, DF_CAPTION | DF_SYSMENU,
                   kProcessingControls},
    DialogTemplate{IDD_PROGRESS, "", 367, 273, kFont, kFontPoints, kResizableFrame, kProgressControls},
    DialogTemplate{IDD_OPTIONS, "Options", 316, 166, kFont, kFontPoints, DF_CAPTION | DF_SYSMENU, kOptionsControls},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int nId)
{
    for (const DialogTemplate& dlg : kTemplates)
        if (dlg.nId == nId)
            return &dlg;
    return nullptr;
}
