#include "mainwnd/command_table.h"

#include <iterator>

#include "lang/language_code.h"
#include "mainwnd/command_ids.h"
#include "playback/lang_text.h"

namespace {
constexpr CommandText kCommandTexts[] = {
    {ID_LANG_CHINESE, "IDS_MainWnd_LangChinese_SI", "Simplified Chinese"},
    {ID_LANG_ENGLISH, "IDS_MainWnd_LangEnglish", "English"},
    {ID_ADD_FILES, "IDS_MainWnd_AddFiles", "Add Files"},
    {ID_FILE_INFO, "IDS_Global_FileInfo", "File Information"},
    {ID_CLOSE_FILE, "IDS_Global_CloseFile", "Close File"},
    {ID_EXIT, "IDS_Global_Exit", "Exit"},
    {ID_PLAY_PAUSE, "IDS_Global_PlayOrPause", "Play/Pause"},
    {ID_STOP, "IDS_Global_Stop", "Stop"},
    {ID_TOP_ALWAYS, "IDS_MainWnd_AlwaysTop", "Always"},
    {ID_TOP_PLAYING, "IDS_MainWnd_PlayTop", "Only Playing"},
    {ID_TOP_NEVER, "IDS_MainWnd_NeverTop", "Never"},
    {ID_BACK_PLAY, "IDS_Global_BackPlay", "Reverse Play"},
    {ID_LOCATE, "IDS_Global_Locate", "Locate"},
    {ID_NEXT_FRAME, "IDS_Global_NextFrame", "Frame Forward"},
    {ID_LAST_FRAME, "IDS_Global_LastFrame", "Frame Backward"},
    {ID_SPEED_UP, "IDS_Global_SpeedUp", "Speed Up"},
    {ID_SPEED_DOWN, "IDS_Global_SpeedDown", "Speed Down"},
    {ID_ORDER_SINGLE_PLAY, "IDS_MainWnd_SinglePlay", "Single Play"},
    {ID_ORDER_LIST_PLAY, "IDS_MainWnd_ListPlay", "Playlist Play"},
    {ID_ORDER_SINGLE_REPEAT, "IDS_MainWnd_SingleRepeat", "Single Repeat"},
    {ID_ORDER_LIST_REPEAT, "IDS_MainWnd_ListRepeat", "Playlist Repeat"},
    {ID_FULL_SCREEN, "IDS_MainWnd_FullScreen", "Full Screen"},
    {ID_NORMAL_SIZE, "IDS_Global_NormalSize", "Normal Size"},
    {ID_DOUBLE_SIZE, "IDS_Global_DoubleSize", "Double Size"},
    {ID_HALF_SIZE, "IDS_Global_HalfSize", "Half Size"},
    {ID_QUARTER_SIZE, "IDS_Global_QuarterSize", "Quarter Size"},
    {ID_HIGH_QUALITY, "IDS_PlaySetDlg_HighQuality", "High Quality Display"},
    {ID_WATERMARK, "IDS_Global_WatermarkInfo", "Watermark Info"},
    {ID_IMAGE_CONTROL, "IDS_PlaySetDlg_ImageControl", "Image Control"},
    {ID_COLOUR_ADJUST, "IDS_PlaySetDlg_ColorAdjust", "Color Adjust"},
    {ID_IVS, "IDS_Global_IVS", "IVS Info"},
    {ID_SOUND_UP, "IDS_Global_SoundUp", "Volume Up"},
    {ID_SOUND_DOWN, "IDS_Global_SoundDown", "Volume Down"},
    {ID_MUTE, "IDS_Global_Mute", "Mute"},
    {ID_LAYOUT_1, "IDS_PlayWnd_1PlayWnd", "1 window"},
    {ID_LAYOUT_4, "IDS_PlayWnd_4PlayWnd", "4 window"},
    {ID_LAYOUT_9, "IDS_PlayWnd_9PlayWnd", "9 window"},
    {ID_LAYOUT_16, "IDS_PlayWnd_16PlayWnd", "16 window"},
    {ID_VIDEO_ENHANCE, "IDS_PlayWnd_VideoEnhandce", "Video Enhandce"},
    {ID_CAPTURE, "IDS_Global_Capture", "Capture"},
    {ID_CONTINUOUS_CAPTURE, "IDS_Global_ContinuousCapture", "Continuous Capture"},
    {ID_CUT, "IDS_Global_Cut", "Cut"},
    {ID_MERGE, "IDS_Global_Merge", "Merge"},
    {ID_CONVERT, "IDS_Global_Convert", "Convert"},
    {ID_PART_ZOOM, "IDS_Global_Part", "Part"},
    {ID_PLAYER_SETTING, "IDS_PlaySetDlg_PlayerSetting", "Player Setting"},
    {ID_HOT_KEY, "IDS_Global_HotKey", "HotKey"},
    {ID_ABOUT, "IDS_Global_About", "About"},
};
}  // namespace

const CommandText* FindCommandText(int nId) {
    for (const CommandText& entry : kCommandTexts) {
        if (entry.nId == nId) return &entry;
    }
    return nullptr;
}

QString CommandMenuText(int nId, int nLanguageCode) {
    if (nId == ID_LANG_PORTUGUESE) {
        // Each language names Portuguese in its own words.
        if (nLanguageCode == LANGUAGE_CHINESE_SIMPLIFIED) return QString::fromUtf8("葡萄牙语");
        if (nLanguageCode == LANGUAGE_PORTUGUESE) return QString::fromUtf8("Português");
        return QStringLiteral("Portuguese");
    }
    const CommandText* pEntry = FindCommandText(nId);
    if (pEntry == nullptr) return QString();
    return LangText(pEntry->szKey, pEntry->szDefault);
}
