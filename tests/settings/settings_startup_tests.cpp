#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include "settings/settings_file.h"
#include "settings/settings_startup.h"

namespace {

// Points the user's folders into a temporary folder, so nothing here touches the
// real configuration or pictures.
class SettingsStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        ::setenv("HOME", QFile::encodeName(m_home.path()).constData(), 1);
        ::setenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(".config")).constData(), 1);
        ::unsetenv("XDG_PICTURES_DIR");
        QCoreApplication::setApplicationName("Orlin");
    }

    QTemporaryDir m_home;
};

TEST_F(SettingsStartupTest, FirstRunLanguageIsChineseOnlyForMainlandChina) {
    EXPECT_EQ(FirstRunLanguage(QLocale("zh_CN")), LANGUAGE_CHINESE_SIMPLIFIED);
    EXPECT_EQ(FirstRunLanguage(QLocale("zh_TW")), LANGUAGE_ENGLISH);
    EXPECT_EQ(FirstRunLanguage(QLocale("zh_HK")), LANGUAGE_ENGLISH);
    EXPECT_EQ(FirstRunLanguage(QLocale("pt_BR")), LANGUAGE_ENGLISH);
    EXPECT_EQ(FirstRunLanguage(QLocale("en_US")), LANGUAGE_ENGLISH);
    EXPECT_EQ(FirstRunLanguage(QLocale::c()), LANGUAGE_ENGLISH);
}

TEST_F(SettingsStartupTest, SettingsFileLivesInTheUserConfigurationFolder) {
    EXPECT_EQ(SettingsFilePath(),
              m_home.filePath(".config/Orlin/{87951D8D-1F4B-4b2b-8515-E5E983018EAE}.xml"));
}

TEST_F(SettingsStartupTest, FirstRunTakesLanguageFromLocaleThenTheFileWins) {
    PlayerSettings st;
    EXPECT_FALSE(LoadSettingsAtStartup(st, QLocale("zh_CN")));
    PlayerSettings expected;
    expected.nLanguage = LANGUAGE_CHINESE_SIMPLIFIED;
    EXPECT_EQ(st, expected);

    PlayerSettings english;
    EXPECT_FALSE(LoadSettingsAtStartup(english, QLocale("de_DE")));
    EXPECT_EQ(english, PlayerSettings());

    // The exit save writes a complete file, which later starts use on any system.
    english.nThrowB = 2;
    ASSERT_TRUE(SaveSettingsAtExit(english));
    PlayerSettings next;
    EXPECT_TRUE(LoadSettingsAtStartup(next, QLocale("zh_CN")));
    EXPECT_EQ(next, english);
}

TEST_F(SettingsStartupTest, FileWithoutPlayerSettingKeepsDefaultLanguageOnChineseSystem) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(SettingsFilePath()).path()));
    QFile file(SettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<Config></Config>");
    file.close();

    PlayerSettings st;
    EXPECT_TRUE(LoadSettingsAtStartup(st, QLocale("zh_CN")));
    EXPECT_EQ(st.nLanguage, LANGUAGE_ENGLISH);
}

TEST_F(SettingsStartupTest, SnapshotsDefaultToPicturesWhenItExistsElseHome) {
    EXPECT_EQ(PlayerSettings::DefaultSnapshotFolder(), m_home.path());
    EXPECT_EQ(PlayerSettings().strCaptureFolder, m_home.path());

    ASSERT_TRUE(QDir(m_home.path()).mkdir("Pictures"));
    EXPECT_EQ(PlayerSettings::DefaultSnapshotFolder(), m_home.filePath("Pictures"));
    EXPECT_EQ(PlayerSettings().strConCaptureFolder, m_home.filePath("Pictures"));
}

}  // namespace
