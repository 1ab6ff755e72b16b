// Copyright Quarn. All Rights Reserved.

// The panel as the editor and Blueprint see it: its properties in declaration order with their
// defaults, categories and metadata, and its functions with their flags and parameter defaults.

#include "CoreMinimal.h"

// What these cases read is metadata, which only a target that keeps it has (an editor, not a
// packaged game or server).
#if WITH_DEV_AUTOMATION_TESTS && WITH_METADATA

#include "Misc/AutomationTest.h"
#include "QuarnStashPanel.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"

BEGIN_DEFINE_SPEC(FQuarnStashPanelReflectionSpec, "Quarn.UI.StashPanel.Reflection", EAutomationTestFlags::EditorContext | EAutomationTestFlags::ClientContext | EAutomationTestFlags::ServerContext | EAutomationTestFlags::ProductFilter)
END_DEFINE_SPEC(FQuarnStashPanelReflectionSpec)

void FQuarnStashPanelReflectionSpec::Define()
{
	It(TEXT("has its properties in declaration order with their categories and metadata"), [this]()
	{
		UClass* const Class = UQuarnStashPanel::StaticClass();
		TestEqualSensitive(TEXT("path"), Class->GetPathName(), FString(TEXT("/Script/QuarnUI.QuarnStashPanel")));
		TestTrue(TEXT("derives from UUserWidget"), Class->GetSuperClass() == UUserWidget::StaticClass());
		TestEqualSensitive(TEXT("display name"), Class->GetMetaData(TEXT("DisplayName")), FString(TEXT("Velmora Stash Panel")));

		TArray<FString> Names;
		for (TFieldIterator<FProperty> It(Class, EFieldIteratorFlags::ExcludeSuper); It; ++It)
		{
			Names.Add(It->GetName());
		}
		const TArray<FString> Expected = { TEXT("OnStashLoaded"), TEXT("OnStashFailed"), TEXT("OnDepositAccepted"), TEXT("OnWithdrawAccepted"), TEXT("OnTransferAccepted"),
			TEXT("bLoadOnConstruct"), TEXT("Provider"), TEXT("Ticket"), TEXT("bUseGameSession"), TEXT("ContainerKind"), TEXT("Layout"), TEXT("GridWidth"), TEXT("GridHeight"), TEXT("SlotCount"),
			TEXT("SlotColumns"), TEXT("CellSize"), TEXT("PanelColour"), TEXT("CellColour"), TEXT("AccentColour"), TEXT("Title"), TEXT("Root"), TEXT("GridSizer"),
			TEXT("GridCanvas"), TEXT("GridFrame"), TEXT("TitleText"), TEXT("StatusText"), TEXT("ItemWidgets"), TEXT("ItemTable"), TEXT("Contents") };
		TestEqualSensitive(TEXT("properties in order"), FString::Join(Names, TEXT(",")), FString::Join(Expected, TEXT(",")));

		auto Property = [Class](const TCHAR* Name) { return FindFProperty<FProperty>(Class, Name); };
		for (const FString& Name : Expected)
		{
			if (!TestNotNull(*FString::Printf(TEXT("property %s"), *Name), Property(*Name)))
			{
				return;
			}
		}
		TestTrue(TEXT("OnDepositAccepted is assignable"), Property(TEXT("OnDepositAccepted"))->HasAnyPropertyFlags(CPF_BlueprintAssignable));
		TestTrue(TEXT("OnDepositAccepted tool tip"), Property(TEXT("OnDepositAccepted"))->GetMetaData(TEXT("ToolTip")).StartsWith(TEXT("The platform accepted a deposit. Remove the item from the character now."), ESearchCase::CaseSensitive));
		TestEqualSensitive(TEXT("OnWithdrawAccepted tool tip"), Property(TEXT("OnWithdrawAccepted"))->GetMetaData(TEXT("ToolTip")), FString(TEXT("The platform released an item. Put it into the character's inventory now.")));
		TestEqualSensitive(TEXT("OnStashLoaded category"), Property(TEXT("OnStashLoaded"))->GetMetaData(TEXT("Category")), FString(TEXT("Velmora")));
		TestEqualSensitive(TEXT("Ticket category"), Property(TEXT("Ticket"))->GetMetaData(TEXT("Category")), FString(TEXT("Velmora|Identity")));
		TestEqualSensitive(TEXT("bUseGameSession category"), Property(TEXT("bUseGameSession"))->GetMetaData(TEXT("Category")), FString(TEXT("Velmora|Identity")));
		TestTrue(TEXT("bUseGameSession is editable and visible"), Property(TEXT("bUseGameSession"))->HasAllPropertyFlags(CPF_Edit | CPF_BlueprintVisible));
		TestTrue(TEXT("bUseGameSession tool tip"), Property(TEXT("bUseGameSession"))->GetMetaData(TEXT("ToolTip")).StartsWith(TEXT("Use the player the game signed in with Quarn - Authenticate Player"), ESearchCase::CaseSensitive));
		TestEqualSensitive(TEXT("SlotCount category"), Property(TEXT("SlotCount"))->GetMetaData(TEXT("Category")), FString(TEXT("Velmora|Container")));
		TestEqualSensitive(TEXT("Title category"), Property(TEXT("Title"))->GetMetaData(TEXT("Category")), FString(TEXT("Velmora|Appearance")));
		TestEqualSensitive(TEXT("GridWidth edit condition"), Property(TEXT("GridWidth"))->GetMetaData(TEXT("EditCondition")), FString(TEXT("Layout == EQuarnContainerLayout::Grid")));
		TestTrue(TEXT("GridHeight hides when not editable"), Property(TEXT("GridHeight"))->HasMetaData(TEXT("EditConditionHides")));
		TestEqualSensitive(TEXT("SlotColumns edit condition"), Property(TEXT("SlotColumns"))->GetMetaData(TEXT("EditCondition")), FString(TEXT("Layout == EQuarnContainerLayout::Slots")));
		TestEqualSensitive(TEXT("CellSize minimum"), Property(TEXT("CellSize"))->GetMetaData(TEXT("ClampMin")), FString(TEXT("16")));
		TestEqualSensitive(TEXT("CellSize tool tip"), Property(TEXT("CellSize"))->GetMetaData(TEXT("ToolTip")), FString(TEXT("Pixels per grid cell before layout scaling.")));
		TestTrue(TEXT("CellSize is editable and visible"), Property(TEXT("CellSize"))->HasAllPropertyFlags(CPF_Edit | CPF_BlueprintVisible));
		// The widgets are reflected for the collector only: neither editable nor visible to Blueprint.
		for (const TCHAR* Hidden : { TEXT("Root"), TEXT("GridCanvas"), TEXT("ItemWidgets"), TEXT("ItemTable"), TEXT("Contents") })
		{
			TestFalse(*FString::Printf(TEXT("%s is editable or visible"), Hidden), Property(Hidden)->HasAnyPropertyFlags(CPF_Edit | CPF_BlueprintVisible));
		}
		TestEqualSensitive(TEXT("Root is edited inline"), Property(TEXT("Root"))->GetMetaData(TEXT("EditInline")), FString(TEXT("true")));
		TestFalse(TEXT("ItemTable is edited inline"), Property(TEXT("ItemTable"))->HasMetaData(TEXT("EditInline")));

		// Defaults, the colours in single precision.
		const UQuarnStashPanel* const Defaults = GetDefault<UQuarnStashPanel>();
		TestTrue(TEXT("loads on construct"), Defaults->bLoadOnConstruct);
		TestEqualSensitive(TEXT("provider"), Defaults->Provider, FString(TEXT("anonymous")));
		TestEqualSensitive(TEXT("ticket"), Defaults->Ticket, FString(TEXT("menu_preview")));
		TestFalse(TEXT("signs in by itself"), Defaults->bUseGameSession);
		TestEqualSensitive(TEXT("container kind"), Defaults->ContainerKind, FString(TEXT("stash")));
		TestTrue(TEXT("grid layout"), Defaults->Layout == EQuarnContainerLayout::Grid);
		TestEqual(TEXT("grid width"), Defaults->GridWidth, 10);
		TestEqual(TEXT("grid height"), Defaults->GridHeight, 8);
		TestEqual(TEXT("slot count"), Defaults->SlotCount, 24);
		TestEqual(TEXT("slot columns"), Defaults->SlotColumns, 6);
		TestEqual(TEXT("cell size"), Defaults->CellSize, 64.0f, 0.0f);
		TestEqual(TEXT("panel colour red"), static_cast<double>(Defaults->PanelColour.R), 0.054999999701976776, 0.0);
		TestEqual(TEXT("cell colour"), Defaults->CellColour, FLinearColor(1.0f, 1.0f, 1.0f, 0.04f));
		TestEqual(TEXT("accent colour"), Defaults->AccentColour, FLinearColor(0.94f, 0.64f, 0.19f, 1.0f));
		TestEqualSensitive(TEXT("title"), Defaults->Title.ToString(), FString(TEXT("STASH")));
		TestTrue(TEXT("visible"), Defaults->GetVisibility() == ESlateVisibility::Visible);
	});

	It(TEXT("has its functions with their flags and parameter defaults"), [this]()
	{
		UClass* const Class = UQuarnStashPanel::StaticClass();
		const UFunction* const IsReady = Class->FindFunctionByName(TEXT("IsReady"));
		if (!TestNotNull(TEXT("IsReady"), IsReady))
		{
			return;
		}
		TestTrue(TEXT("IsReady is pure, const and native"), IsReady->HasAllFunctionFlags(FUNC_BlueprintPure | FUNC_Const | FUNC_Native));
		TestEqualSensitive(TEXT("IsReady tool tip"), IsReady->GetMetaData(TEXT("ToolTip")), FString(TEXT("True once a player is signed in and their stash has been read.")));

		const UFunction* const Deposit = Class->FindFunctionByName(TEXT("DepositItem"));
		if (!TestNotNull(TEXT("DepositItem"), Deposit))
		{
			return;
		}
		TestEqualSensitive(TEXT("quantity default"), Deposit->GetMetaData(TEXT("CPP_Default_Quantity")), FString(TEXT("1")));
		TestEqualSensitive(TEXT("x default"), Deposit->GetMetaData(TEXT("CPP_Default_X")), FString(TEXT("-1")));
		TestEqualSensitive(TEXT("source slot default"), Deposit->GetMetaData(TEXT("CPP_Default_SourceSlot")), FString(TEXT("-1")));
		TestEqualSensitive(TEXT("category"), Deposit->GetMetaData(TEXT("Category")), FString(TEXT("Velmora")));

		for (const TCHAR* Event : { TEXT("OnDeposited"), TEXT("OnWithdrawn"), TEXT("OnTransferred") })
		{
			const UFunction* const Function = Class->FindFunctionByName(Event);
			if (!TestNotNull(Event, Function))
			{
				continue;
			}
			TestTrue(*FString::Printf(TEXT("%s is a Blueprint event"), Event), Function->HasAnyFunctionFlags(FUNC_BlueprintEvent));
			TestFalse(*FString::Printf(TEXT("%s is native"), Event), Function->HasAnyFunctionFlags(FUNC_Native));
			TestEqualSensitive(*FString::Printf(TEXT("%s category"), Event), Function->GetMetaData(TEXT("Category")), FString(TEXT("Velmora|Interaction")));
		}
		// Calling an event on the native class reaches no implementation and changes nothing.
		UQuarnStashPanel* const Native = NewObject<UQuarnStashPanel>(GetTransientPackage());
		Native->OnWithdrawn(FQuarnItemInstance());
		const UFunction* const CellAt = Class->FindFunctionByName(TEXT("CellAtScreenPosition"));
		TestTrue(TEXT("CellAtScreenPosition is pure and const"), CellAt != nullptr && CellAt->HasAllFunctionFlags(FUNC_BlueprintPure | FUNC_Const));
		TestNull(TEXT("SlotIndexAt"), Class->FindFunctionByName(TEXT("SlotIndexAt")));
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS && WITH_METADATA
