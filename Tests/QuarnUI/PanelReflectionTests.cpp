// The panel as the editor and Blueprint see it: its properties in declaration order with their
// defaults, categories and metadata, and its functions with their flags and parameter defaults.
#include "QuarnUITestSupport.h"
#include "UObject/Package.h"

using namespace QuarnUITest;

TEST(QuarnUIReflection, PropertiesInDeclarationOrderWithTheirCategoriesAndMetadata)
{
	UClass* const Class = UQuarnStashPanel::StaticClass();
	EXPECT_EQ(Str(Class->GetPathName()), "/Script/QuarnUI.QuarnStashPanel");
	EXPECT_EQ(Class->GetSuperClass(), UUserWidget::StaticClass());
	EXPECT_EQ(Str(Class->GetMetaData(TEXT("DisplayName"))), "Velmora Stash Panel");

	TArray<FString> Names;
	for (TFieldIterator<FProperty> It(Class, EFieldIteratorFlags::ExcludeSuper); It; ++It)
	{
		Names.Add(It->GetName());
	}
	const TArray<FString> Expected = { TEXT("OnStashLoaded"), TEXT("OnStashFailed"), TEXT("OnDepositAccepted"), TEXT("OnWithdrawAccepted"), TEXT("OnTransferAccepted"),
		TEXT("bLoadOnConstruct"), TEXT("Provider"), TEXT("Ticket"), TEXT("ContainerKind"), TEXT("Layout"), TEXT("GridWidth"), TEXT("GridHeight"), TEXT("SlotCount"),
		TEXT("SlotColumns"), TEXT("CellSize"), TEXT("PanelColour"), TEXT("CellColour"), TEXT("AccentColour"), TEXT("Title"), TEXT("Root"), TEXT("GridSizer"),
		TEXT("GridCanvas"), TEXT("GridFrame"), TEXT("TitleText"), TEXT("StatusText"), TEXT("ItemWidgets"), TEXT("ItemTable"), TEXT("Contents") };
	EXPECT_EQ(Names, Expected);

	auto Property = [Class](const TCHAR* Name) { return FindFProperty<FProperty>(Class, Name); };
	EXPECT_TRUE(Property(TEXT("OnDepositAccepted"))->HasAnyPropertyFlags(CPF_BlueprintAssignable));
	EXPECT_TRUE(Property(TEXT("OnDepositAccepted"))->GetMetaData(TEXT("ToolTip")).StartsWith(TEXT("The platform accepted a deposit. Remove the item from the character now.")));
	EXPECT_EQ(Str(Property(TEXT("OnWithdrawAccepted"))->GetMetaData(TEXT("ToolTip"))), "The platform released an item. Put it into the character's inventory now.");
	EXPECT_EQ(Str(Property(TEXT("OnStashLoaded"))->GetMetaData(TEXT("Category"))), "Velmora");
	EXPECT_EQ(Str(Property(TEXT("Ticket"))->GetMetaData(TEXT("Category"))), "Velmora|Identity");
	EXPECT_EQ(Str(Property(TEXT("SlotCount"))->GetMetaData(TEXT("Category"))), "Velmora|Container");
	EXPECT_EQ(Str(Property(TEXT("Title"))->GetMetaData(TEXT("Category"))), "Velmora|Appearance");
	EXPECT_EQ(Str(Property(TEXT("GridWidth"))->GetMetaData(TEXT("EditCondition"))), "Layout == EQuarnContainerLayout::Grid");
	EXPECT_TRUE(Property(TEXT("GridHeight"))->HasMetaData(TEXT("EditConditionHides")));
	EXPECT_EQ(Str(Property(TEXT("SlotColumns"))->GetMetaData(TEXT("EditCondition"))), "Layout == EQuarnContainerLayout::Slots");
	EXPECT_EQ(Str(Property(TEXT("CellSize"))->GetMetaData(TEXT("ClampMin"))), "16");
	EXPECT_EQ(Str(Property(TEXT("CellSize"))->GetMetaData(TEXT("ToolTip"))), "Pixels per grid cell before layout scaling.");
	EXPECT_TRUE(Property(TEXT("CellSize"))->HasAllPropertyFlags(CPF_Edit | CPF_BlueprintVisible));
	// The widgets are reflected for the collector only: neither editable nor visible to Blueprint.
	for (const TCHAR* Hidden : { TEXT("Root"), TEXT("GridCanvas"), TEXT("ItemWidgets"), TEXT("ItemTable"), TEXT("Contents") })
	{
		EXPECT_FALSE(Property(Hidden)->HasAnyPropertyFlags(CPF_Edit | CPF_BlueprintVisible)) << Str(Hidden);
	}
	EXPECT_EQ(Str(Property(TEXT("Root"))->GetMetaData(TEXT("EditInline"))), "true");
	EXPECT_FALSE(Property(TEXT("ItemTable"))->HasMetaData(TEXT("EditInline")));

	// Defaults, the colours in single precision.
	const UQuarnStashPanel* const Defaults = GetDefault<UQuarnStashPanel>();
	EXPECT_TRUE(Defaults->bLoadOnConstruct);
	EXPECT_EQ(Str(Defaults->Provider), "anonymous");
	EXPECT_EQ(Str(Defaults->Ticket), "menu_preview");
	EXPECT_EQ(Str(Defaults->ContainerKind), "stash");
	EXPECT_EQ(Defaults->Layout, EQuarnContainerLayout::Grid);
	EXPECT_EQ(Defaults->GridWidth, 10);
	EXPECT_EQ(Defaults->GridHeight, 8);
	EXPECT_EQ(Defaults->SlotCount, 24);
	EXPECT_EQ(Defaults->SlotColumns, 6);
	EXPECT_EQ(Defaults->CellSize, 64.0f);
	EXPECT_EQ(static_cast<double>(Defaults->PanelColour.R), 0.054999999701976776);
	EXPECT_EQ(Defaults->CellColour, FLinearColor(1.0f, 1.0f, 1.0f, 0.04f));
	EXPECT_EQ(Defaults->AccentColour, AccentColour);
	EXPECT_EQ(Str(Defaults->Title.ToString()), "STASH");
	EXPECT_EQ(Defaults->GetVisibility(), ESlateVisibility::Visible);
}

TEST(QuarnUIReflection, FunctionsWithTheirFlagsAndParameterDefaults)
{
	UClass* const Class = UQuarnStashPanel::StaticClass();
	const UFunction* const IsReady = Class->FindFunctionByName(TEXT("IsReady"));
	ASSERT_NE(IsReady, nullptr);
	EXPECT_TRUE(IsReady->HasAllFunctionFlags(FUNC_BlueprintPure | FUNC_Const | FUNC_Native));
	EXPECT_EQ(Str(IsReady->GetMetaData(TEXT("ToolTip"))), "True once a player is signed in and their stash has been read.");

	const UFunction* const Deposit = Class->FindFunctionByName(TEXT("DepositItem"));
	ASSERT_NE(Deposit, nullptr);
	EXPECT_EQ(Str(Deposit->GetMetaData(TEXT("CPP_Default_Quantity"))), "1");
	EXPECT_EQ(Str(Deposit->GetMetaData(TEXT("CPP_Default_X"))), "-1");
	EXPECT_EQ(Str(Deposit->GetMetaData(TEXT("CPP_Default_SourceSlot"))), "-1");
	EXPECT_EQ(Str(Deposit->GetMetaData(TEXT("Category"))), "Velmora");

	for (const TCHAR* Event : { TEXT("OnDeposited"), TEXT("OnWithdrawn"), TEXT("OnTransferred") })
	{
		const UFunction* const Function = Class->FindFunctionByName(Event);
		ASSERT_NE(Function, nullptr) << Str(Event);
		EXPECT_TRUE(Function->HasAnyFunctionFlags(FUNC_BlueprintEvent));
		EXPECT_FALSE(Function->HasAnyFunctionFlags(FUNC_Native));
		EXPECT_EQ(Str(Function->GetMetaData(TEXT("Category"))), "Velmora|Interaction");
	}
	// Calling an event on the native class reaches no implementation and changes nothing.
	UQuarnStashPanel* const Native = NewObject<UQuarnStashPanel>(GetTransientPackage());
	Native->OnWithdrawn(FQuarnItemInstance());
	EXPECT_EQ(Class->FindFunctionByName(TEXT("CellAtScreenPosition"))->HasAllFunctionFlags(FUNC_BlueprintPure | FUNC_Const), true);
	EXPECT_EQ(Class->FindFunctionByName(TEXT("SlotIndexAt")), nullptr);
}
