// The designer draws the panel but does not load it. The designer flag is editor-only in the
// engine (WITH_EDITOR), so this case stays here, where the host sets it; the rest of the tree's
// cases are the plug-in's automation tests (Quarn.UI.StashPanel.Tree).
#include "QuarnUITestSupport.h"

using namespace QuarnUITest;

namespace
{
	class QuarnUITree : public FPanelTest
	{
	};

	int32 CountCells(const UCanvasPanel* Canvas)
	{
		int32 Cells = 0;
		for (int32 Index = 0; Index < Canvas->GetChildrenCount(); ++Index)
		{
			Cells += Canvas->GetChildAt(Index)->IsA<UImage>() ? 1 : 0;
		}
		return Cells;
	}
}

TEST_F(QuarnUITree, TheDesignerDrawsButDoesNotLoad)
{
	UQuarnStashPanel* const Designed = MakePanel();
	Designed->bLoadOnConstruct = true;
	UE::Host::SetDesignerFlags(Designed, EWidgetDesignFlags::Designing);
	Designed->TakeWidget();
	EXPECT_EQ(Transport->Sent.Num(), 0);
	// The designer still shows the empty grid and the idle line.
	EXPECT_EQ(Str(StatusOf(Designed)), "Not loaded");
	EXPECT_EQ(CountCells(Member<UCanvasPanel>(Designed, TEXT("GridCanvas"))), 80);
}
