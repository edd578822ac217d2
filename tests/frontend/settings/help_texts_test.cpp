#include "settings/help_texts.h"

#include <gtest/gtest.h>

using namespace skyloom;

namespace {

// Columns a text takes on a Japanese console: two for wide characters.
int displayColumns(const QString& text)
{
    int columns = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x2190 && u <= 0x21FF) || (u >= 0x3000 && u <= 0x30FF) ||
                          (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF60);
        columns += wide ? 2 : 1;
    }
    return columns;
}

QList<int> emptyLines(const QStringList& lines)
{
    QList<int> empty;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].isEmpty())
            empty << i + 1;
    return empty;
}

} // namespace

TEST(HelpTexts, TheMapUsageHasFourteenLinesIndentedByOneBlank)
{
    const QStringList lines = mapUsageLines();
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(emptyLines(lines), (QList<int>{2, 9}));
    EXPECT_EQ(lines[0], QStringLiteral("使用法(描画までの手順)"));
    for (int line : {4, 5, 6, 7, 8, 11, 12, 13, 14})
        EXPECT_TRUE(lines[line - 1].startsWith(u' ') && lines[line - 1][1] != u' ') << line;
    for (int line : {1, 3, 10})
        EXPECT_FALSE(lines[line - 1].startsWith(u' ')) << line;
    EXPECT_EQ(joinedLines(lines).count(u'\n'), 13) << "no line break after the last line";
}

TEST(HelpTexts, TheViewerUsageAlignsItsKeysAtSeventeenColumns)
{
    const QStringList lines = viewerUsageLines();
    ASSERT_EQ(lines.size(), 31);
    EXPECT_EQ(emptyLines(lines), (QList<int>{2, 19, 24, 29}));
    for (int line : {4, 21, 26})
        EXPECT_EQ(lines[line - 1], QString(28, u'-')) << line;
    for (int line = 5; line <= 18; ++line) {
        // The description starts after the key and its blanks.
        const QString& text = lines[line - 1];
        qsizetype description = text.indexOf(u' ');
        while (description < text.size() && text[description] == u' ')
            ++description;
        EXPECT_EQ(displayColumns(text.left(description)), 17) << line;
    }
    EXPECT_EQ(lines[6], QStringLiteral("←→") + QString(13, u' ') + QStringLiteral("左右方向転換"));
    EXPECT_EQ(lines[8], QStringLiteral("Shift+↑↓") + QString(7, u' ') + QStringLiteral("上下視界変更"));
    EXPECT_EQ(lines[17], QStringLiteral("スペース") + QString(9, u' ') + QStringLiteral("すべて初期化"));
    for (int line : {22, 23, 27, 28}) {
        EXPECT_EQ(lines[line - 1][2], QChar(0x3000)) << line;
        EXPECT_FALSE(lines[line - 1].contains(u' ')) << line;
    }
    EXPECT_EQ(joinedLines(lines).count(u'\n'), 30) << "no line break after the last line";
}

TEST(HelpTexts, TheVersionBoxNamesTheProgramAndItsVersion)
{
    const QStringList lines = versionLines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.mid(0, 2), (QStringList{"Skyloom", "Ver.2.0"}));
}
