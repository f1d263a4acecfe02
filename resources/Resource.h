#pragma once

// Resource, command and control ids of the program. The numbers are fixed:
// stored profiles, tooltips and accelerators refer to them.

// Controls without an id of their own.
constexpr int IDC_STATIC = -1;

// Standard dialog commands (also button ids).
constexpr int IDC_OK = 1;
constexpr int IDC_CANCEL = 2;

// Dialog templates.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_MAIN = 102;
constexpr int IDD_PROCESSING = 157;
constexpr int IDD_PROGRESS = 170;
constexpr int IDD_OPTIONS = 172;

// Icons.
constexpr int IDI_APP = 128;
constexpr int IDI_SORT_NONE = 132;
constexpr int IDI_SORT_DESCENDING = 133;
constexpr int IDI_SORT_ASCENDING = 134;
constexpr int IDI_ABOUT = 159;
constexpr int IDI_ADD_FILES = 160;
constexpr int IDI_OPTIONS = 169;

// Menus and accelerators.
constexpr int IDR_LIST_CONTEXT_MENU = 143;
constexpr int IDR_MAIN_ACCELERATORS = 155;

// Strings.
constexpr int IDS_ABOUTBOX = 101;

// System-menu command of the About item (its text is string IDS_ABOUTBOX).
constexpr int IDM_ABOUTBOX = 16;

// Commands of the main window.
constexpr int ID_FILE_OPEN = 32780;
constexpr int ID_REMOVE_SELECTED = 32788;
constexpr int ID_REMOVE_ALL = 32795;
constexpr int ID_SELECT_ALL = 32823;
constexpr int ID_RENAME = 32853;
constexpr int ID_PROPERTIES = 32855;
constexpr int ID_ADD_FILES = 32861;
constexpr int ID_EXIT = 32869;
constexpr int ID_CONVERT_SELECTED = 32873;
constexpr int ID_CONVERT_ALL = 32874;
constexpr int ID_OPTIONS = 32875;
constexpr int ID_ABOUT = 32889;

// Main window.
constexpr int IDC_FILELIST = 1003;

// About box.
constexpr int IDC_HOMEPAGE = 1141;

// Wait window.
constexpr int IDC_PROCESSING_BAR = 1054;
constexpr int IDC_PROCESSING_CANCEL = 3;

// Progress window.
constexpr int IDC_LOG = 1003;
constexpr int IDC_CURRENT_GROUP = 1071;
constexpr int IDC_OVERALL_GROUP = 1072;
constexpr int IDC_CURRENT_BAR = 1073;
constexpr int IDC_OVERALL_BAR = 1074;
constexpr int IDC_PAUSE = 1075;
constexpr int IDC_CURRENT_DONE_LABEL = 1076;
constexpr int IDC_OVERALL_DONE_LABEL = 1077;
constexpr int IDC_CURRENT_SPEED_LABEL = 1078;
constexpr int IDC_OVERALL_SPEED_LABEL = 1079;
constexpr int IDC_CURRENT_DONE = 1080;
constexpr int IDC_OVERALL_DONE = 1081;
constexpr int IDC_CURRENT_SPEED = 1082;
constexpr int IDC_OVERALL_SPEED = 1083;
constexpr int IDC_OVERALL_ELAPSED_LABEL = 1084;
constexpr int IDC_CURRENT_ELAPSED_LABEL = 1085;
constexpr int IDC_OVERALL_ELAPSED = 1086;
constexpr int IDC_CURRENT_ELAPSED = 1087;
constexpr int IDC_CURRENT_ETA = 1088;
constexpr int IDC_OVERALL_ETA_LABEL = 1089;
constexpr int IDC_CURRENT_ETA_LABEL = 1090;
constexpr int IDC_OVERALL_ETA = 1091;
constexpr int IDC_SOURCE = 1092;
constexpr int IDC_DESTINATION = 1093;
constexpr int IDC_SOURCE_LABEL = 1094;
constexpr int IDC_DESTINATION_LABEL = 1095;
constexpr int IDC_CLEAR = 1096;

// Options dialog.
constexpr int IDC_OUTPUT_FOLDER = 1012;
constexpr int IDC_BROWSE = 1047;
constexpr int IDC_FREQUENCY_LABEL = 1084;
constexpr int IDC_SECOND_LABEL = 1085;
constexpr int IDC_THIRD_LABEL = 1086;
constexpr int IDC_FREQUENCY = 1088;
constexpr int IDC_CHANNEL_MODE = 1089;
constexpr int IDC_BITRATE = 1090;
constexpr int IDC_BITRATE_NOTE = 1091;
constexpr int IDC_RESET = 3;
