// Doc comments become tooltips with the engine tool's formatting rules.
#include "HeaderTool.h"

#include <gtest/gtest.h>

using HeaderTool::FormatCommentForToolTip;

TEST(HeaderToolToolTip, JavaDocStarsAndMarkersAreStripped)
{
	EXPECT_EQ(FormatCommentForToolTip("/** Adds an item.\n * @param Count how many */"), "Adds an item.\n@param Count how many");
}

TEST(HeaderToolToolTip, ParagraphBreaksAreKept)
{
	EXPECT_EQ(FormatCommentForToolTip("/**\n * First paragraph.\n *\n * Second paragraph.\n */"), "First paragraph.\n\nSecond paragraph.");
}

TEST(HeaderToolToolTip, LineCommentsLoseTheirCommonIndent)
{
	EXPECT_EQ(FormatCommentForToolTip("// Loads the stash.\n//   Indented more."), "Loads the stash.\n  Indented more.");
}

TEST(HeaderToolToolTip, IgnoredCommentsAndSeparatorLinesAreDropped)
{
	EXPECT_EQ(FormatCommentForToolTip("/*~ note for header readers */"), "");
	EXPECT_EQ(FormatCommentForToolTip("/**\n * ------\n * Text after a rule.\n */"), "Text after a rule.");
}

TEST(HeaderToolToolTip, CommentWithoutLettersGivesNoToolTip)
{
	EXPECT_EQ(FormatCommentForToolTip("/** --- */"), "");
	EXPECT_EQ(FormatCommentForToolTip("//"), "");
}

TEST(HeaderToolToolTip, TabsExpandToEightColumns)
{
	EXPECT_EQ(FormatCommentForToolTip("//\tA\n//\t\tB"), "A\n        B");
}
