#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

#include "common/debug_log.h"
#include "lang/language_parser.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class LanguageParserTest : public ::testing::Test {
protected:
    void SetUp() override {
        CLanguageParser::Release();
        SetDebugLogSink([this](const std::string& line) { m_lines.push_back(line); });
    }
    void TearDown() override {
        SetDebugLogSink({});
        CLanguageParser::Release();
    }

    bool LoadText(const std::string& text) {
        return CLanguageParser::LoadStringBuffer(text.data(), text.size());
    }

    // The lookup's text and result together, so one expectation checks both.
    std::pair<QString, bool> Find(const char* key, const QString& fallback = "default") {
        QString out = "stale";
        const bool found = CLanguageParser::FindString(key, out, fallback);
        return {out, found};
    }

    std::vector<std::string> m_lines;
};

using Found = std::pair<QString, bool>;

std::string Repeated(const std::string& part, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += part;
    }
    return text;
}

TEST_F(LanguageParserTest, WithoutTableEveryLookupGivesItsDefaultSilently) {
    EXPECT_EQ(Find("IDS_Global_OK", "OK"), Found("OK", false));
    EXPECT_EQ(Find(nullptr, "x"), Found("x", false));
    EXPECT_THAT(m_lines, IsEmpty());
}

TEST_F(LanguageParserTest, CodesSelectChineseEnglishAndPortugueseTables) {
    ASSERT_TRUE(CLanguageParser::LoadStringFile(1));
    EXPECT_EQ(Find("IDS_Global_OK"), Found(QString::fromUtf8("确定"), true));

    ASSERT_TRUE(CLanguageParser::LoadStringFile(2));
    EXPECT_EQ(Find("IDS_Global_Cancel"), Found("Cancel", true));
    EXPECT_EQ(Find("IDS_MainWnd_LangEnglish"), Found("English", true));

    ASSERT_TRUE(CLanguageParser::LoadStringFile(6));
    EXPECT_EQ(Find("IDS_Global_Cancel"), Found("Cancelar", true));
    EXPECT_THAT(m_lines, IsEmpty());
}

// Found by fuzzing: a table ending inside a multi-byte character made the
// parser step over the terminator and read past the text.
TEST_F(LanguageParserTest, TableEndingInsideACharacterIsRefusedWholly) {
    for (const std::string& text :
         {std::string("<Strings><String Key=\"IDS_A\">A</String><String Key=\"IDS_B\">\xe6\xb5"),
          std::string("<Strings><String Key=\"IDS_A\">A</String>\xf0"),
          std::string("<Strings><String Key=\"IDS_A\">A</String><\xdf")}) {
        EXPECT_FALSE(LoadText(text));
        EXPECT_EQ(Find("IDS_A"), Found("default", false));
    }
}

TEST_F(LanguageParserTest, UnknownCodeFailsAndKeepsTheCurrentTable) {
    ASSERT_TRUE(CLanguageParser::LoadStringFile(6));
    for (int code : {0, 3, 4, 5, 7, -1, 2052}) {
        EXPECT_FALSE(CLanguageParser::LoadStringFile(code)) << code;
    }
    EXPECT_EQ(Find("IDS_Global_Cancel"), Found("Cancelar", true));
    EXPECT_EQ(m_lines.size(), 7u);
    EXPECT_EQ(m_lines.front(), "CLanguageParser::LoadStringFile() return 1");
}

TEST_F(LanguageParserTest, MissingOrMiscasedKeyGivesDefaultAndLogs) {
    ASSERT_TRUE(CLanguageParser::LoadStringFile(2));
    EXPECT_EQ(Find("IDS_Global_ok", "OK"), Found("OK", false));
    EXPECT_EQ(Find("IDS_Global_OK_", "OK"), Found("OK", false));
    EXPECT_EQ(Find("", "OK"), Found("OK", false));
    EXPECT_THAT(m_lines, ElementsAre("CLanguageParser::FindString() return false 3",
                                     "CLanguageParser::FindString() return false 3",
                                     "CLanguageParser::FindString() return false 3"));
}

TEST_F(LanguageParserTest, WalkSkipsOtherElementsAndStringsWithoutKey) {
    ASSERT_TRUE(
        LoadText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                 "<Table>\r\n"
                 "\t<!-- a comment -->\r\n"
                 "\t<Entry Key=\"IDS_A\">not a string</Entry>\r\n"
                 "\t<string Key=\"IDS_A\">wrong case</string>\r\n"
                 "\t<String>no key</String>\r\n"
                 "\t<String key=\"IDS_A\">attribute in wrong case</String>\r\n"
                 "\t<String Key=\"IDS_A\">first</String>\r\n"
                 "\t<String Key=\"IDS_A\">second</String>\r\n"
                 "</Table>\r\n"));
    // The root's name does not matter; the first matching "String" wins.
    EXPECT_EQ(Find("IDS_A"), Found("first", true));
}

TEST_F(LanguageParserTest, EntryWithoutTextYieldsEmptyTextNotDefault) {
    ASSERT_TRUE(
        LoadText("<Language><String Key=\"IDS_Empty\"></String><String Key=\"IDS_Self\"/>"
                 "<String Key=\"IDS_Nested\"><b>x</b></String></Language>"));
    EXPECT_EQ(Find("IDS_Empty"), Found("", true));
    EXPECT_EQ(Find("IDS_Self"), Found("", true));
    EXPECT_EQ(Find("IDS_Nested"), Found("", true));
}

TEST_F(LanguageParserTest, TextsAreCondensedButOtherwiseLiteral) {
    ASSERT_TRUE(
        LoadText("<Language>"
                 "<String Key=\"IDS_Space\">  Speed \r\n\t *   %d  </String>"
                 "<String Key=\"IDS_Escape\">line\\nbreak</String>"
                 "<String Key=\"IDS_Entity\">a &amp; b &lt;c&gt;</String>"
                 "<String Key=\"IDS_Utf8\">\xe4\xb8\xad\xe6\x96\x87 ok</String>"
                 "</Language>"));
    EXPECT_EQ(Find("IDS_Space"), Found("Speed * %d", true));
    EXPECT_EQ(Find("IDS_Escape"), Found("line\\nbreak", true));
    EXPECT_EQ(Find("IDS_Entity"), Found("a & b <c>", true));
    EXPECT_EQ(Find("IDS_Utf8"), Found(QString::fromUtf8("中文 ok"), true));
}

TEST_F(LanguageParserTest, CommentsWithInvalidUtf8AreTolerated) {
    ASSERT_TRUE(
        LoadText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Language>\r\n"
                 "\t<!-- Mensagens \xe9\xff\xfe do di\xe1logo -->\r\n"
                 "\t<String Key=\"IDS_Global_Cancel\">Cancelar</String>\r\n</Language>\r\n"));
    EXPECT_EQ(Find("IDS_Global_Cancel"), Found("Cancelar", true));
}

TEST_F(LanguageParserTest, DocumentWithoutRootElementLogsRootFailure) {
    ASSERT_TRUE(LoadText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- nothing -->\r\n"));
    EXPECT_EQ(Find("IDS_Global_OK", "OK"), Found("OK", false));
    EXPECT_THAT(m_lines,
                ElementsAre("CLanguageParser::FindString() return false 2 doc.RootElement() Fail"));
}

TEST_F(LanguageParserTest, ParseStopsAtTheEndOfTheGivenBytes) {
    // The full text is a valid table; only a parser that read past the given size
    // could see the closing tag.
    const std::string text = "<Language><String Key=\"IDS_A\">a</String></Language>";
    const std::vector<char> exact(text.begin(), text.end() - 1);
    EXPECT_FALSE(CLanguageParser::LoadStringBuffer(exact.data(), exact.size()));

    const std::vector<char> whole(text.begin(), text.end());  // no terminating zero
    ASSERT_TRUE(CLanguageParser::LoadStringBuffer(whole.data(), whole.size()));
    EXPECT_EQ(Find("IDS_A"), Found("a", true));
}

TEST_F(LanguageParserTest, MalformedTablesFailAndLeaveOnlyDefaults) {
    const std::vector<std::string> malformed = {
        "",
        "   \r\n\t ",
        "<Language><String Key=\"IDS_A\">a</String>",
        "<Language><String Key=\"IDS_A\">a</Strin></Language>",
        "<Language><String Key=\"IDS_A>a</String></Language>",
        "<Language><String Key=\"IDS_A\" Key=\"IDS_B\">a</String></Language>",
        "<Language><String Key=\"IDS_A\">a</String></Other>",
        "<Language><String Key=\"IDS_A\">a</String><!-- open comment </Language>",
        "<Language><String Key=\"IDS_A\">a</String><![CDATA[ open </Language>",
        "<Language><String Key=\"IDS_A\">a &#x",
        "<Language \x01\x02\x7f\xff></Language>",
        std::string("<Language>\0</Language>", 23),
        Repeated("<String>", 200000),
        "\xef\xbb\xbf",
        "\xe4\xb8",
    };
    for (const std::string& text : malformed) {
        // A valid table first, so a failed load visibly replaces it.
        ASSERT_TRUE(LoadText("<Language><String Key=\"IDS_A\">valid</String></Language>"));
        m_lines.clear();
        EXPECT_FALSE(LoadText(text)) << text;
        EXPECT_EQ(m_lines, std::vector<std::string>{"CLanguageParser::LoadStringFile() return 4"})
            << text;
        // Entries parsed before the error are not served either.
        EXPECT_EQ(Find("IDS_A"), Found("default", false)) << text;
    }
}

TEST_F(LanguageParserTest, NestingUpToTheElementLimitLoadsAndOneMoreIsRefused) {
    // The limit is 4096 elements: the root, one entry and the rest nested.
    auto nested = [](size_t nElements) {
        const size_t nInner = nElements - 2;
        return "<Language><String Key=\"IDS_A\">deep</String>" + Repeated("<x>", nInner) +
               Repeated("</x>", nInner) + "</Language>";
    };
    ASSERT_TRUE(LoadText(nested(4096)));
    EXPECT_EQ(Find("IDS_A"), Found("deep", true));
    m_lines.clear();
    EXPECT_FALSE(LoadText(nested(4097)));
    EXPECT_EQ(m_lines, std::vector<std::string>{"CLanguageParser::LoadStringFile() return 4"});
    EXPECT_EQ(Find("IDS_A"), Found("default", false));
}

TEST_F(LanguageParserTest, ReleaseDropsTheTable) {
    ASSERT_TRUE(CLanguageParser::LoadStringFile(6));
    CLanguageParser::Release();
    EXPECT_EQ(Find("IDS_Global_Cancel", "Cancel"), Found("Cancel", false));
    EXPECT_THAT(m_lines, IsEmpty());
}

}  // namespace
