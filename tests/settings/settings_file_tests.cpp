#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tinyxml.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "settings/settings_file.h"

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return m_dir.filePath(name); }

    QString WriteFile(const std::string& contents, const QString& name = "settings.xml") const {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents.data(), static_cast<qint64>(contents.size()));
        return file.fileName();
    }

    static std::string ReadFile(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll().toStdString();
    }

    // Loads `contents` into a record holding the defaults.
    PlayerSettings LoadText(const std::string& contents, bool expectLoaded = true) const {
        PlayerSettings st;
        EXPECT_EQ(LoadPlayerSettings(WriteFile(contents), st), expectLoaded) << contents;
        return st;
    }

    static std::string InPlayerSetting(const std::string& body) {
        return "<Config><PlayerSetting>" + body + "</PlayerSetting></Config>";
    }

    QTemporaryDir m_dir;
};

PlayerSettings EveryFieldChanged() {
    PlayerSettings st;
    st.nLanguage = 6;
    st.bHighQuality = false;
    st.bDeflash = false;
    st.nPriority = 1;
    st.nThrowB = 2;
    st.nPlayerTimerPrecision = 2;
    for (size_t i = 0; i < HOTKEY_ACTION_COUNT; ++i) {
        st.stHotKeys[i] = {static_cast<uint16_t>(65 + i), static_cast<uint16_t>(i)};
    }
    st.stHotKeys[3] = {0, 0};
    st.stHotKeys[7] = {0xFFFF, 0xFFFF};
    st.nResolution = 2;
    st.strCaptureFolder = QString::fromUtf8("/home/ana/Área de  trabalho/快照 <&> \"x\" 'y' ");
    st.nCaptureType = 1;
    st.strConCaptureFolder = QString::fromUtf8("/mnt/nas/série\tcontínua");
    st.nConCaptureType = 1;
    return st;
}

TEST_F(SettingsFileTest, RoundTripKeepsEveryField) {
    const PlayerSettings saved = EveryFieldChanged();
    ASSERT_TRUE(SavePlayerSettings(saved, PathOf("s.xml")));

    PlayerSettings loaded;
    ASSERT_TRUE(LoadPlayerSettings(PathOf("s.xml"), loaded));
    EXPECT_EQ(loaded.strCaptureFolder, saved.strCaptureFolder);
    EXPECT_EQ(loaded.strConCaptureFolder, saved.strConCaptureFolder);
    EXPECT_EQ(loaded, saved);
}

TEST_F(SettingsFileTest, DefaultsAreWrittenInThePrintedLayout) {
    PlayerSettings st;
    st.strCaptureFolder = "/home/u/Pictures";
    st.strConCaptureFolder = "/home/u";
    ASSERT_TRUE(SavePlayerSettings(st, PathOf("s.xml")));

    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
        "<Config>\r\n"
        "    <PlayerSetting>\r\n"
        "        <Language>2</Language>\r\n"
        "        <Basic>\r\n"
        "            <HighQuality>1</HighQuality>\r\n"
        "            <Deflash>1</Deflash>\r\n"
        "            <Priority>0</Priority>\r\n"
        "            <ThrowB>0</ThrowB>\r\n"
        "            <PlayerTimerPrecision>1</PlayerTimerPrecision>\r\n"
        "        </Basic>\r\n"
        "        <HotKeys>\r\n"
        "            <PlayOrPause>32</PlayOrPause>\r\n"
        "            <Stop>131155</Stop>\r\n"
        "            <FrameBackward>524325</FrameBackward>\r\n"
        "            <FrameForward>524327</FrameForward>\r\n"
        "            <VolumeUp>524326</VolumeUp>\r\n"
        "            <VolumeDown>524328</VolumeDown>\r\n"
        "            <GotoStart>655397</GotoStart>\r\n"
        "            <GotoEnd>655399</GotoEnd>\r\n"
        "            <AddFiles>131151</AddFiles>\r\n"
        "        </HotKeys>\r\n"
        "        <ImageControl>\r\n"
        "            <Resolution>1</Resolution>\r\n"
        "        </ImageControl>\r\n"
        "        <Capture>\r\n"
        "            <CaptureFolder>/home/u/Pictures</CaptureFolder>\r\n"
        "            <CaptureType>0</CaptureType>\r\n"
        "        </Capture>\r\n"
        "        <ConCapture>\r\n"
        "            <ConCaptureFolder>/home/u</ConCaptureFolder>\r\n"
        "            <ConCaptureType>0</ConCaptureType>\r\n"
        "        </ConCapture>\r\n"
        "    </PlayerSetting>\r\n"
        "</Config>\r\n";
    EXPECT_EQ(ReadFile(PathOf("s.xml")), expected);
}

TEST_F(SettingsFileTest, UnusableFilesFailAndLeaveTheRecordAlone) {
    PlayerSettings st = EveryFieldChanged();
    EXPECT_FALSE(LoadPlayerSettings("", st));
    EXPECT_FALSE(LoadPlayerSettings(PathOf("missing.xml"), st));
    EXPECT_FALSE(LoadPlayerSettings(m_dir.path(), st));

    // A FIFO would block a plain open until someone writes to it.
    const QString fifo = PathOf("fifo.xml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(LoadPlayerSettings(fifo, st));
    EXPECT_EQ(st, EveryFieldChanged());
}

TEST_F(SettingsFileTest, MalformedFilesFailAndChangeNothing) {
    std::string deep;
    for (int i = 0; i < 200000; ++i) {
        deep += "<a>";
    }
    const std::vector<std::string> malformed = {
        "",
        "\r\n  \r\n",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<!-- only a comment -->\r\n",
        InPlayerSetting("<Language>6</Language>").substr(0, 40),
        "<Config><PlayerSetting><Language>6</Language></Config>",
        "<Config><PlayerSetting><Language>6</Lang></PlayerSetting></Config>",
        "<Config attr=\"x><PlayerSetting/></Config>",
        "<Config><PlayerSetting><Language>6<</Language></PlayerSetting></Config>",
        std::string("<Config>\0<PlayerSetting/></Config>", 34),
        "\x89PNG\r\n\x1a\n\x00\x01\xff\xfe garbage",
        deep,
        std::string(2 << 20, ' ') + InPlayerSetting("<Language>6</Language>"),
        // Ending inside a multi-byte character: the parser stepped over the
        // terminator and read past the text (found by fuzzing).
        "<Config><PlayerSetting><Language>6\xe6\xb5",
        "<Config><PlayerSetting>\xdf",
        "<Config>\xf0",
    };
    for (const std::string& contents : malformed) {
        EXPECT_EQ(LoadText(contents, false), PlayerSettings()) << contents.substr(0, 80);
    }
}

TEST_F(SettingsFileTest, NestingUpToTheElementLimitLoadsAndOneMoreIsRefused) {
    // The limit is 1024 elements: root, section, the language and the rest nested.
    auto nested = [](int nElements) {
        std::string open, close;
        for (int i = 0; i < nElements - 3; ++i) {
            open += "<a>";
            close += "</a>";
        }
        return InPlayerSetting("<Language>6</Language>" + open + close);
    };
    PlayerSettings expected;
    expected.nLanguage = 6;
    EXPECT_EQ(LoadText(nested(1024)), expected);
    EXPECT_EQ(LoadText(nested(1025), false), PlayerSettings());
}

TEST_F(SettingsFileTest, PartialFilesChangeOnlyWhatTheySupply) {
    PlayerSettings expected;
    expected.nLanguage = 6;
    EXPECT_EQ(LoadText(InPlayerSetting("<Language>6</Language>")), expected);

    // The root's name plays no part.
    EXPECT_EQ(
        LoadText("<Settings><PlayerSetting><Language>6</Language></PlayerSetting></Settings>"),
        expected);

    // A root without a "PlayerSetting" loads and changes nothing.
    EXPECT_EQ(LoadText("<Config><Other><Language>1</Language></Other></Config>"), PlayerSettings());
    EXPECT_EQ(LoadText("<Config/>"), PlayerSettings());
}

TEST_F(SettingsFileTest, RepeatedSectionsApplyInDocumentOrder) {
    const PlayerSettings st = LoadText(
        "<Config>"
        "<PlayerSetting><Language>1</Language><Basic><ThrowB>1</ThrowB><Priority>1</Priority></"
        "Basic>"
        "</PlayerSetting>"
        "<Unknown><Language>9</Language></Unknown>"
        "<PlayerSetting><Basic><ThrowB>2</ThrowB></Basic><Basic><Deflash>0</Deflash></Basic>"
        "<Language>6</Language><Mystery>5</Mystery></PlayerSetting>"
        "</Config>");
    EXPECT_EQ(st.nLanguage, 6);
    EXPECT_EQ(st.nThrowB, 2);
    EXPECT_EQ(st.nPriority, 1);
    EXPECT_FALSE(st.bDeflash);
    EXPECT_TRUE(st.bHighQuality);
}

TEST_F(SettingsFileTest, HotKeyValuesSplitIntoKeyAndModifiers) {
    const auto load = [&](const std::string& value) {
        return LoadText(InPlayerSetting("<HotKeys><Stop>" + value + "</Stop></HotKeys>"))
            .stHotKeys[static_cast<size_t>(HotKeyAction::Stop)];
    };
    EXPECT_EQ(load("131155"), (HotKeyBinding{83, HOTKEY_MOD_CTRL}));
    EXPECT_EQ(load("83"), (HotKeyBinding{83, 0}));
    EXPECT_EQ(load("-1"), (HotKeyBinding{0xFFFF, 0xFFFF}));
    EXPECT_EQ(load("-65536"), (HotKeyBinding{0, 0xFFFF}));
    // Beyond 32 bits the number saturates instead of wrapping into another key.
    EXPECT_EQ(load("4294967296"), (HotKeyBinding{0xFFFF, 0x7FFF}));
    EXPECT_EQ(load("-99999999999"), (HotKeyBinding{0, 0x8000}));

    PlayerSettings st;
    st.stHotKeys[0] = {0xFFFF, 0xFFFF};
    ASSERT_TRUE(SavePlayerSettings(st, PathOf("s.xml")));
    EXPECT_NE(ReadFile(PathOf("s.xml")).find("<PlayOrPause>-1</PlayOrPause>"), std::string::npos);
}

TEST_F(SettingsFileTest, NumbersFollowTheCLibraryRuleWithoutRangeChecks) {
    const PlayerSettings st = LoadText(InPlayerSetting(
        "<Language>3</Language>"
        "<Basic><HighQuality>5</HighQuality><Deflash>abc</Deflash><Priority>  -3</Priority>"
        "<ThrowB>7xyz</ThrowB><PlayerTimerPrecision>+2</PlayerTimerPrecision></Basic>"
        "<ImageControl><Resolution></Resolution></ImageControl>"
        "<Capture><CaptureType/></Capture>"
        "<ConCapture><ConCaptureType><x>1</x></ConCaptureType></ConCapture>"));
    EXPECT_EQ(st.nLanguage, 3);
    EXPECT_TRUE(st.bHighQuality);
    EXPECT_FALSE(st.bDeflash);
    EXPECT_EQ(st.nPriority, -3);
    EXPECT_EQ(st.nThrowB, 7);
    EXPECT_EQ(st.nPlayerTimerPrecision, 2);
    // Elements without text count as 0.
    EXPECT_EQ(st.nResolution, 0);
    EXPECT_EQ(st.nCaptureType, 0);
    EXPECT_EQ(st.nConCaptureType, 0);

    ASSERT_TRUE(SavePlayerSettings(st, PathOf("s.xml")));
    const std::string written = ReadFile(PathOf("s.xml"));
    EXPECT_NE(written.find("<HighQuality>1</HighQuality>"), std::string::npos);
    EXPECT_NE(written.find("<Language>3</Language>"), std::string::npos);
}

TEST_F(SettingsFileTest, FolderElementsWithoutTextKeepTheFolder) {
    PlayerSettings st;
    st.strCaptureFolder = "/keep/me";
    st.strConCaptureFolder = "/keep/too";
    ASSERT_TRUE(LoadPlayerSettings(
        WriteFile(InPlayerSetting("<Capture><CaptureFolder></CaptureFolder></Capture>"
                                  "<ConCapture><ConCaptureFolder/></ConCapture>")),
        st));
    EXPECT_EQ(st.strCaptureFolder, "/keep/me");
    EXPECT_EQ(st.strConCaptureFolder, "/keep/too");
}

TEST_F(SettingsFileTest, NamesAreCaseSensitive) {
    EXPECT_EQ(LoadText("<Config>"
                       "<PlayerSetting><language>1</language><basic><Deflash>0</Deflash></basic>"
                       "<Basic><deflash>0</deflash></Basic><HotKeys><stop>1</stop></HotKeys>"
                       "</PlayerSetting>"
                       "<playersetting><Language>1</Language></playersetting>"
                       "</Config>"),
              PlayerSettings());
}

TEST_F(SettingsFileTest, EmptyFolderIsNotWrittenSoTheDefaultReturns) {
    PlayerSettings st;
    st.strCaptureFolder.clear();
    st.strConCaptureFolder = "/videos";
    ASSERT_TRUE(SavePlayerSettings(st, PathOf("s.xml")));
    const std::string written = ReadFile(PathOf("s.xml"));
    EXPECT_EQ(written.find("<CaptureFolder"), std::string::npos);
    EXPECT_NE(written.find("<Capture>\r\n            <CaptureType>0</CaptureType>"),
              std::string::npos);

    PlayerSettings loaded;
    ASSERT_TRUE(LoadPlayerSettings(PathOf("s.xml"), loaded));
    EXPECT_EQ(loaded.strCaptureFolder, PlayerSettings::DefaultSnapshotFolder());
    EXPECT_EQ(loaded.strConCaptureFolder, "/videos");
}

TEST_F(SettingsFileTest, SaveCreatesMissingFoldersAndReplacesTheOldFile) {
    const QString path = PathOf("a/b/c/s.xml");
    ASSERT_TRUE(SavePlayerSettings(PlayerSettings(), path));
    ASSERT_TRUE(SavePlayerSettings(EveryFieldChanged(), path));
    PlayerSettings loaded;
    ASSERT_TRUE(LoadPlayerSettings(path, loaded));
    EXPECT_EQ(loaded, EveryFieldChanged());
    EXPECT_EQ(QDir(PathOf("a/b/c")).entryList(QDir::Files | QDir::Hidden), QStringList{"s.xml"});
}

TEST_F(SettingsFileTest, SaveFailsWhenTheFolderCannotExist) {
    WriteFile("not a folder", "plain");
    EXPECT_FALSE(SavePlayerSettings(PlayerSettings(), PathOf("plain/s.xml")));
    EXPECT_FALSE(SavePlayerSettings(PlayerSettings(), PathOf("plain/sub/s.xml")));
    EXPECT_FALSE(SavePlayerSettings(PlayerSettings(), ""));
    EXPECT_EQ(ReadFile(PathOf("plain")), "not a folder");
}

// A write that runs out of space midway (as on a full disk) must not touch the old file.
// The file-size limit makes the write fail even for root, who ignores permissions.
TEST_F(SettingsFileTest, FailedWriteKeepsThePreviousFile) {
    const QString path = PathOf("s.xml");
    ASSERT_TRUE(SavePlayerSettings(EveryFieldChanged(), path));
    const std::string before = ReadFile(path);

    struct rlimit previous;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = previous;
    tiny.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool saved = SavePlayerSettings(PlayerSettings(), path);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    ::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"s.xml"});
}

TEST_F(SettingsFileTest, ReadingLeavesTinyXmlCondensingOn) {
    ASSERT_TRUE(SavePlayerSettings(EveryFieldChanged(), PathOf("s.xml")));
    PlayerSettings st;
    ASSERT_TRUE(LoadPlayerSettings(PathOf("s.xml"), st));
    EXPECT_TRUE(TiXmlBase::IsWhiteSpaceCondensed());
}

}  // namespace
