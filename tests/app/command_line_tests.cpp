#include <gtest/gtest.h>

#include "mainwnd/about_dlg.h"
#include "mainwnd/command_line.h"

TEST(CommandLine, EveryArgumentIsOnePathInTheOrderGiven) {
    EXPECT_TRUE(ParseCommandLine({"orlin"}).paths.isEmpty());
    const CommandLine two = ParseCommandLine({"orlin", "/v/a b.rec", "", "/v/b.rec"});
    EXPECT_EQ(two.eRequest, CommandLine::Request::Run);
    EXPECT_EQ(two.paths, QStringList({"/v/a b.rec", "/v/b.rec"}));
    // Quotes the shell left in place belong to the name.
    EXPECT_EQ(ParseCommandLine({"orlin", "\"/v/a.mp4\""}).paths, QStringList({"\"/v/a.mp4\""}));
}

TEST(CommandLine, HelpAndVersionWinOverPathsUntilTheOptionsEnd) {
    EXPECT_EQ(ParseCommandLine({"orlin", "a.rec", "--help"}).eRequest, CommandLine::Request::Help);
    EXPECT_EQ(ParseCommandLine({"orlin", "-h"}).eRequest, CommandLine::Request::Help);
    EXPECT_EQ(ParseCommandLine({"orlin", "--version", "--help"}).eRequest,
              CommandLine::Request::Version);
    const CommandLine ended = ParseCommandLine({"orlin", "--", "--help", "-h"});
    EXPECT_EQ(ended.eRequest, CommandLine::Request::Run);
    EXPECT_EQ(ended.paths, QStringList({"--help", "-h"}));
    EXPECT_TRUE(CommandLineUsage("orlin").startsWith("Usage: orlin [FILE]..."));
    EXPECT_EQ(ProgramVersionLine(), QStringLiteral("Orlin 6.2.0.1\n"));
}

TEST(EngineVersion, BytesAreShownMostSignificantFirst) {
    EXPECT_EQ(FormatEngineVersion(0x01020304u), QStringLiteral("Vidmux.dll, 1.2.3.4"));
    EXPECT_EQ(FormatEngineVersion(0xFF00A00Bu), QStringLiteral("Vidmux.dll, 255.0.160.11"));
}
