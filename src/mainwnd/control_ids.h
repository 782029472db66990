#pragma once

// Control ids of the main window; tooltips, layout and the button dispatch
// all use these numbers.
enum MainControlId : int {
    IDC_PANE_BAR = 1063,        // bar above the pane area
    IDC_PLAYLIST_BAR = 1069,    // bar above the playlist
    IDC_PLAYLIST_TITLE = 1070,  // "Playlist"
    IDC_PLAYLIST = 1071,
    IDC_PLAYLIST_ADD = 1072,
    IDC_PLAYLIST_DELETE = 1073,
    IDC_PLAYLIST_CLEAR = 1074,
    IDC_PLAY_ORDER = 1075,
    IDC_PLAYLIST_HIDE = 1076,
    IDC_CONTROL_BAR = 1077,
    IDC_STOP = 1078,
    IDC_GOTO_START = 1079,
    IDC_GOTO_END = 1080,
    IDC_FRAME_FORWARD = 1081,
    IDC_FRAME_BACK = 1082,
    IDC_SPEED_UP = 1083,
    IDC_SPEED_DOWN = 1084,
    IDC_REVERSE = 1085,
    IDC_SOUND = 1086,
    IDC_LANGUAGE = 1087,
    IDC_OPEN = 1088,
    IDC_PLAYLIST_TOGGLE = 1089,
    IDC_TOOLBOX = 1090,
    IDC_VOLUME = 1091,
    IDC_STATUS = 1092,
    IDC_PROGRESS = 1093,
    IDC_PLAY_PAUSE = 1094,
    IDC_LEFT_TIME = 1095,
    IDC_RIGHT_TIME = 1096,
    IDC_CAPTURE = 1097,
    IDC_SYNC = 1098,
    IDC_LOGO = 1099,
    IDC_SPLITTER = 1180,
    // Areas without a control id of their own.
    IDC_PANE_AREA = 1,
    IDC_SYNC_RULER = 2,
};
