#include <gtest/gtest.h>
#include <tinyxml.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <algorithm>
#include <string>
#include <vector>

#include "lang/language_parser.h"
#include "lang/language_tables.h"

namespace {

// Every table holds these keys in this order: each family's prefix and its names.
const std::pair<const char*, const char*> kFamilies[] = {
    {"IDS_Global_",
     "Browse Reset OK Cancel Exit Open Close File OpenFile CloseFile PlayControl PlayOrPause Play "
     "Pause Stop Locate VideoLocate Playlist Speed SpeedDown SpeedUp Sound SoundVolume SoundUp "
     "SoundDown GotoStart GotoEnd LastFrame NextFrame BackPlay Capture ContinuousCapture Mute "
     "ToolBox Tool Cut Merge Convert FileInfo Part CancelPart Watermark WatermarkInfo Setting Help "
     "HotKey About NormalSize DoubleSize HalfSize QuarterSize FixedSize IVS DiskNotEnough"},
    {"IDS_MainWnd_",
     "NeedLib CancelBackPlay StartBackPlay HidePlaylist ShowPlaylist MuteOn MuteOff FullScreen "
     "FullScreenCancel Ready Play SpeedUp SpeedDown CaptureSuccess CaptureFail PlayFail "
     "PlaylistOvewflow FileMissing FileIsFolder FileEmpty FileUnreadable FileNotVideo "
     "FileOpenFail AVIConvertInfo_1 AVIConvertInfo_2 AVIConvertInfo_3 AVIConvertInfo_4 "
     "AVIConvertInfo_5 AVIConvertInfo_6 AddFileToPlaylist DelFileInPlaylist ClearPlaylist "
     "ClosePlaylist Menu Language LangChinese_SI LangEnglish OpenRecent AutoClearRecent "
     "ClearRecent "
     "TopDiaplay AlwaysTop PlayTop NeverTop PlayMode SinglePlay ListPlay SingleRepeat ListRepeat "
     "View PleaseMaxPlayWnd SyncModePleasePressPlay SyncModeOn SyncModeOff AddFiles PlayWnd "
     "FileRefNotDone CutFileConflict MergeResultFileLargeThan4G UserCancel GetKeyFramePosFail "
     "ConCapWarningDiskSpace"},
    {"IDS_PlaySetDlg_",
     "Warn_InputFrameIndex Warn_InputValidFrameIndex Warn_PlayFileFirst Warn_InputTime "
     "Warn_InputValidTime Warn_SelectFloder PlayerSetting PlaySetting GeneralSet Basic HotKey "
     "PictureSetting ImageControl ColorAdjust ToolSettings Options PlayOptimization PlayerTimer "
     "HighQuality Deflash EfficiencyPriority EffectPriority ThrowB DonotThrowB ThrowB1 ThrowB2 "
     "HighPrecisionTimer LowPrecisionTimer NormalResolution LowResolution Lightness Hue Constrast "
     "Chromaticity SavePath SaveType TimeLocate FrameLocate X1 X2 X4 X8 X16 CtrlCommand "
     "MouseHotKey CombinationKey HotKeys NormalOrScreen DoubleClick F2 Dot Left Right Up Down Ctrl "
     "O C HotKeyConflict UnSupportInSyncMode"},
    {"IDS_AVIConvertDlg_",
     "AVIConversion ResFile TarFile Convert SelectPathFirst ConvertFail ConvertSucc"},
    {"IDS_FileCutDlg_",
     "FileCut Preview Trimming Forward Back StartNotLessThanEnd FileAlreadyExist CreateFileFail "
     "AllocMemFail ReadFileFail WriteFileFail CutSucc CutFail"},
    {"IDS_FileInfoDlg_",
     "FileName BasicInfo FileType FileSize FileTime Resolution FilePath ExtraInfo VideoFormat "
     "FrameRateLessThan1 VideoFrameRate AudioFormat"},
    {"IDS_FileMergeDlg_",
     "AddFile DelFile OutputSetting FileName2 FileTimeLen CannotMerge UnsupportTypeToAdd "
     "MaxMergeFileCount CreateThreadFail MinMergeFileCount SavePathEmpty MergeSucc MergeFail"},
    {"IDS_RegionDlg_", "Set HighSpeedPlay TextIn"},
    {"IDS_PlayWnd_",
     "GetPortFail FilesHasNoSyncTime PlayWndLayout 1PlayWnd 4PlayWnd 9PlayWnd 16PlayWnd "
     "VideoEnhandce"},
    {"IDS_VIE_",
     "VideoEnhance ADJ EHAN DEHAZE DENOISE SHARPEN DEBLOCK CRB LENS Enable ADJ_Bright ADJ_Contrast "
     "ADJ_Saturation EHAN_Scale EHAN_Gain EHAN_Offset EHAN_Color DEHAZE_Level DEHAZE_Transmission "
     "DEHAZE_Gain DENOISE_Level SHARPEN_Level SHARPEN_Radius SHARPEN_Threshold DEBLOCK_Level "
     "LENS_Warp LENS_Zoom"},
};

std::vector<std::string> ExpectedKeys() {
    std::vector<std::string> keys;
    for (const auto& [prefix, names] : kFamilies) {
        for (const QString& name : QString(names).split(' ')) {
            keys.push_back(prefix + name.toStdString());
        }
    }
    return keys;
}

const LanguageCode kCodes[] = {LANGUAGE_CHINESE_SIMPLIFIED, LANGUAGE_ENGLISH, LANGUAGE_PORTUGUESE};

QByteArray TableBytes(LanguageCode code) {
    QFile file(LanguageTableResource(code));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << code;
    return file.readAll();
}

// Text of every key in the table of `code`, in key order.
std::vector<QString> TableTexts(LanguageCode code) {
    EXPECT_TRUE(CLanguageParser::LoadStringFile(code));
    std::vector<QString> texts;
    for (const std::string& key : ExpectedKeys()) {
        QString text;
        EXPECT_TRUE(CLanguageParser::FindString(key.c_str(), text, "")) << code << " " << key;
        texts.push_back(text);
    }
    return texts;
}

QStringList Placeholders(const QString& text) {
    static const QRegularExpression pattern("%[-+ #0]*[0-9]*(?:\\.[0-9]+)?(?:l|ll|h)?[a-zA-Z%]");
    QStringList found;
    for (const auto& match : pattern.globalMatch(text)) {
        found << match.captured();
    }
    return found;
}

TEST(LanguageTableTest, EveryTableHoldsEveryKeyInOrderInTheStoredFormat) {
    ASSERT_EQ(ExpectedKeys().size(), 259u);
    for (LanguageCode code : kCodes) {
        const QByteArray bytes = TableBytes(code);
        EXPECT_TRUE(
            bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Language>\r\n"))
            << code;
        for (qsizetype i = bytes.indexOf('\n'); i >= 0; i = bytes.indexOf('\n', i + 1)) {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << code << " at byte " << i;
        }

        TiXmlDocument document;
        document.Parse(bytes.constData(), nullptr, TIXML_ENCODING_UTF8);
        ASSERT_FALSE(document.Error()) << code << " " << document.ErrorDesc();
        const TiXmlElement* root = document.RootElement();
        ASSERT_NE(root, nullptr);
        EXPECT_STREQ(root->Value(), "Language");
        std::vector<std::string> keys;
        for (const TiXmlElement* entry = root->FirstChildElement(); entry != nullptr;
             entry = entry->NextSiblingElement()) {
            EXPECT_STREQ(entry->Value(), "String");
            const char* key = entry->Attribute("Key");
            keys.push_back(key != nullptr ? key : "");
        }
        EXPECT_EQ(keys, ExpectedKeys()) << code;
    }
}

TEST(LanguageTableTest, TranslationsKeepTheEnglishPlaceholders) {
    const auto keys = ExpectedKeys();
    const auto english = TableTexts(LANGUAGE_ENGLISH);
    for (LanguageCode code : {LANGUAGE_CHINESE_SIMPLIFIED, LANGUAGE_PORTUGUESE}) {
        const auto texts = TableTexts(code);
        for (size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(Placeholders(texts[i]), Placeholders(english[i])) << code << " " << keys[i];
        }
    }
    EXPECT_EQ(
        Placeholders(
            english[std::find(keys.begin(), keys.end(), "IDS_MainWnd_SpeedUp") - keys.begin()]),
        QStringList{"%d"});
}

// Catches English texts copied into a translation and left there.
TEST(LanguageTableTest, TranslationsDifferFromEnglishExceptNeutralWords) {
    const QSet<QString> neutral = {"IDS_PlaySetDlg_X1",   "IDS_PlaySetDlg_X2",  "IDS_PlaySetDlg_X4",
                                   "IDS_PlaySetDlg_X8",   "IDS_PlaySetDlg_X16", "IDS_PlaySetDlg_F2",
                                   "IDS_PlaySetDlg_Ctrl", "IDS_PlaySetDlg_O",   "IDS_PlaySetDlg_C"};
    const QSet<QString> portugueseAlike = {"IDS_Global_OK", "IDS_Global_SoundVolume",
                                           "IDS_VIE_EHAN", "IDS_VIE_LENS_Zoom", "IDS_MainWnd_Menu"};
    const auto keys = ExpectedKeys();
    const auto english = TableTexts(LANGUAGE_ENGLISH);
    const auto chinese = TableTexts(LANGUAGE_CHINESE_SIMPLIFIED);
    const auto portuguese = TableTexts(LANGUAGE_PORTUGUESE);
    for (size_t i = 0; i < keys.size(); ++i) {
        const QString key = QString::fromStdString(keys[i]);
        EXPECT_FALSE(english[i].isEmpty()) << keys[i];
        if (!neutral.contains(key)) {
            EXPECT_NE(chinese[i], english[i]) << keys[i];
            if (!portugueseAlike.contains(key)) {
                EXPECT_NE(portuguese[i], english[i]) << keys[i];
            }
        }
    }
}

TEST(LanguageTableTest, EnglishTableShowsEscapesLiterally) {
    ASSERT_TRUE(CLanguageParser::LoadStringFile(LANGUAGE_ENGLISH));
    QString text;
    ASSERT_TRUE(CLanguageParser::FindString("IDS_MainWnd_AVIConvertInfo_1", text, ""));
    EXPECT_TRUE(text.contains("\\n")) << text.toStdString();
    EXPECT_FALSE(text.contains('\n'));
}

}  // namespace
