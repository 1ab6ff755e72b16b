// Icons found in an item table whose row struct is a user-defined struct, as the editor makes one:
// its member names carry a GUID suffix. Building such a struct needs the host's struct builder, so
// this case stays here; the rest of the drawing cases are the plug-in's automation tests
// (Quarn.UI.StashPanel.Drawing).
#include "QuarnUITestSupport.h"
#include "Host/EngineAssets.h"
#include "StructUtils/UserDefinedStruct.h"

using namespace QuarnUITest;

namespace
{
	class QuarnUIDrawing : public FPanelTest
	{
	protected:
		virtual void SetUp() override
		{
			FPanelTest::SetUp();
			SavedTable = GetMutableDefault<UQuarnSettings>()->ItemIconTable;
		}

		virtual void TearDown() override
		{
			GetMutableDefault<UQuarnSettings>()->ItemIconTable = SavedTable;
			FPanelTest::TearDown();
			for (UObject* Asset : Assets)
			{
				UE::Host::ReleaseAsset(Asset);
			}
		}

		UDataTable* MakeTable(const FString& Path, UScriptStruct* RowStruct)
		{
			UDataTable* const Table = UE::Host::CreateAsset<UDataTable>(Path);
			check(Table != nullptr);
			Table->RowStruct = RowStruct;
			Assets.Add(Table);
			return Table;
		}

		/** A built panel whose settings name this table. */
		UQuarnStashPanel* PanelUsing(const UDataTable* Table)
		{
			GetMutableDefault<UQuarnSettings>()->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(Table->GetPathName()));
			UQuarnStashPanel* const Panel = MakeBuiltPanel();
			EXPECT_EQ(Member<UDataTable>(Panel, TEXT("ItemTable")), Table);
			return Panel;
		}

		/** The texture drawn for one stack of this item, or null when it was drawn as text. */
		UTexture2D* DrawnIcon(UQuarnStashPanel* Panel, const TCHAR* ItemId)
		{
			Panel->ShowContainer(Container(TEXT("grid"), { Stack(ItemId, 1, 0, 0) }));
			const TArray<UWidget*> Drawn = ItemWidgetsOf(Panel);
			if (Drawn.Num() != 1)
			{
				ADD_FAILURE() << "expected one frame";
				return nullptr;
			}
			UWidget* const Content = CastChecked<UBorder>(Drawn[0])->GetContent();
			if (const UImage* const Image = Cast<UImage>(Content))
			{
				return Cast<UTexture2D>(Image->GetBrush().GetResourceObject());
			}
			EXPECT_TRUE(Content->IsA<UTextBlock>());
			return nullptr;
		}

		TArray<UObject*> Assets;
		TSoftObjectPtr<UDataTable> SavedTable;
	};
}

TEST_F(QuarnUIDrawing, UserDefinedStructColumnsMatchWithoutTheEditorSuffix)
{
	using UE::Host::CodeGen::EPropertyKind;
	UE::Host::FUserDefinedStructBuilder Builder(TEXT("S_StashItem"));
	const FName NameMember = Builder.AddMember(TEXT("DisplayName"), EPropertyKind::Str);
	const FName LabelMember = Builder.AddMember(TEXT("Icon"), EPropertyKind::Name);
	const FName IconMember = Builder.AddMember(TEXT("ItemIcon"), EPropertyKind::SoftObject, nullptr, UTexture2D::StaticClass());
	UUserDefinedStruct* const Struct = Builder.Finish();
	ASSERT_NE(Struct, nullptr);
	ASSERT_TRUE(IconMember.ToString().StartsWith(TEXT("ItemIcon_")));
	ASSERT_EQ(IconMember.ToString().Len(), 9 + 2 + 32);

	UDataTable* const Table = MakeTable(TEXT("/Game/Data/StashItems.StashItems"), Struct);
	auto AddRow = [&](const TCHAR* RowName, const TCHAR* IconPath)
	{
		TArray<uint8> Memory;
		Memory.SetNumZeroed(Struct->GetStructureSize());
		Struct->InitializeStruct(Memory.GetData());
		*FindFProperty<FStrProperty>(Struct, NameMember)->ContainerPtrToValuePtr<FString>(Memory.GetData()) = RowName;
		*FindFProperty<FNameProperty>(Struct, LabelMember)->ContainerPtrToValuePtr<FName>(Memory.GetData()) = TEXT("Bandage");
		if (IconPath != nullptr)
		{
			*FindFProperty<FSoftObjectProperty>(Struct, IconMember)->ContainerPtrToValuePtr<FSoftObjectPtr>(Memory.GetData()) = FSoftObjectPath(IconPath);
		}
		Table->AddRow(RowName, Memory.GetData(), Struct);
		Struct->DestroyStruct(Memory.GetData());
	};
	AddRow(TEXT("Scalpel"), TEXT("/Game/Icons/Scalpel.Scalpel"));
	AddRow(TEXT("Nothing"), nullptr);

	UQuarnStashPanel* const Panel = PanelUsing(Table);
	UTexture2D* const Scalpel = DrawnIcon(Panel, TEXT("Scalpel"));
	ASSERT_NE(Scalpel, nullptr);
	EXPECT_EQ(Str(Scalpel->GetName()), "Scalpel");
	EXPECT_EQ(DrawnIcon(Panel, TEXT("Nothing")), nullptr);
}
