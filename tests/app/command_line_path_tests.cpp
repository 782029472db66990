#include <gtest/gtest.h>

#include "mainwnd/about_dlg.h"
#include "mainwnd/command_line_path.h"

TEST(CommandLinePath, TakesEverythingAfterTheProgramAsOnePath) {
    EXPECT_EQ(CommandLinePath({"orlin"}), QString());
    EXPECT_EQ(CommandLinePath({"orlin", "/v/a b.mp4"}), QStringLiteral("/v/a b.mp4"));
    EXPECT_EQ(CommandLinePath({"orlin", "\"/v/a b.mp4\""}), QStringLiteral("/v/a b.mp4"));
    // Two quoted paths stay one path that names no file.
    EXPECT_EQ(CommandLinePath({"orlin", "\"/v/a.mp4\"", "\"/v/b.mp4\""}),
              QStringLiteral("/v/a.mp4\" \"/v/b.mp4"));
    // Quotes are dropped only as a surrounding pair.
    EXPECT_EQ(CommandLinePath({"orlin", "\""}), QStringLiteral("\""));
    EXPECT_EQ(CommandLinePath({"orlin", "\"\""}), QString());
    EXPECT_EQ(CommandLinePath({"orlin", "\"/v/a.mp4"}), QStringLiteral("\"/v/a.mp4"));
}

TEST(EngineVersion, BytesAreShownMostSignificantFirst) {
    EXPECT_EQ(FormatEngineVersion(0x01020304u), QStringLiteral("Vidmux.dll, 1.2.3.4"));
    EXPECT_EQ(FormatEngineVersion(0xFF00A00Bu), QStringLiteral("Vidmux.dll, 255.0.160.11"));
}
