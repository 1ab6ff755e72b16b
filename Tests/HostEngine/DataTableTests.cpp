// Data tables: rows of a native row struct and of a user-defined struct, lookups and their log
// lines, row memory, and references from rows under garbage collection.
#include "EngineTestSupport.h"
#include "EngineTestTypes.h"
#include "Engine/DataTable.h"
#include "Host/EngineAssets.h"
#include "Host/RuntimeTypes.h"
#include "StructUtils/UserDefinedStruct.h"
#include "UObject/SoftObjectPtr.h"
#include "UObject/UnrealType.h"

namespace
{
	class HostEngineDataTable : public FEngineTest
	{
	protected:
		virtual void TearDown() override
		{
			for (UObject* Asset : Assets)
			{
				UE::Host::ReleaseAsset(Asset);
			}
			FEngineTest::TearDown();
		}

		UDataTable* MakeTable(const TCHAR* Path, UScriptStruct* RowStruct)
		{
			UDataTable* const Table = UE::Host::CreateAsset<UDataTable>(Path);
			if (Table)
			{
				Table->RowStruct = RowStruct;
				Assets.Add(Table);
			}
			return Table;
		}

		FTestItemRow Row(const TCHAR* Name, int32 Weight, UObject* Payload = nullptr)
		{
			FTestItemRow Result;
			Result.DisplayName = Name;
			Result.Weight = Weight;
			Result.Payload = Payload;
			return Result;
		}

		TArray<UObject*> Assets;
	};
}

TEST_F(HostEngineDataTable, NativeRowsAreCopiedFoundReplacedAndRemoved)
{
	UDataTable* const Table = MakeTable(TEXT("/Game/Data/Items.Items"), FTestItemRow::StaticStruct());
	ASSERT_NE(Table, nullptr);
	FTestItemRow Source = Row(TEXT("Bandage"), 2);
	Table->AddRow(TEXT("Bandage"), Source);
	Table->AddRow(TEXT("Flask"), Row(TEXT("Flask"), 5));
	// The table holds a copy.
	Source.DisplayName = TEXT("Changed");
	const FTestItemRow* const Found = Table->FindRow<FTestItemRow>(TEXT("Bandage"), TEXT("test"));
	ASSERT_NE(Found, nullptr);
	EXPECT_EQ(Str(Found->DisplayName), "Bandage");
	EXPECT_EQ(Found->Weight, 2);
	EXPECT_EQ((void*)Table->FindRowUnchecked(TEXT("Bandage")), (const void*)Found);
	EXPECT_EQ(Table->GetRowNames(), (TArray<FName>{ TEXT("Bandage"), TEXT("Flask") }));
	EXPECT_EQ(Table->GetRowMap().Num(), 2);

	// Adding an existing name replaces the row.
	Table->AddRow(TEXT("Bandage"), Row(TEXT("Big bandage"), 3));
	EXPECT_EQ(Table->GetRowMap().Num(), 2);
	EXPECT_EQ(Table->FindRow<FTestItemRow>(TEXT("Bandage"), TEXT("test"))->Weight, 3);

	TArray<FTestItemRow*> All;
	Table->GetAllRows(TEXT("test"), All);
	int32 TotalWeight = 0;
	for (const FTestItemRow* Each : All)
	{
		TotalWeight += Each->Weight;
	}
	EXPECT_EQ(TotalWeight, 8);

	Table->RemoveRow(TEXT("Flask"));
	Table->RemoveRow(TEXT("NoSuchRow"));
	EXPECT_EQ(Table->GetRowNames(), (TArray<FName>{ TEXT("Bandage") }));
	Table->EmptyTable();
	EXPECT_EQ(Table->GetRowMap().Num(), 0);

	// The table made in code loads through its path like a saved one.
	EXPECT_EQ(TSoftObjectPtr<UDataTable>(FSoftObjectPath(TEXT("/Game/Data/Items.Items"))).LoadSynchronous(), Table);
}

TEST_F(HostEngineDataTable, FailedLookupsLogWhatTheEngineLogs)
{
	UDataTable* const Table = MakeTable(TEXT("/Game/Data/Lookups.Lookups"), FTestItemRow::StaticStruct());
	Table->AddRow(TEXT("Bandage"), Row(TEXT("Bandage"), 2));
	UE::Host::FLogCapture Log(TEXT("LogDataTable"));

	EXPECT_EQ(Table->FindRow<FTestItemRow>(TEXT("Missing"), TEXT("ctx")), nullptr);
	EXPECT_EQ(Table->FindRow<FTestItemRow>(TEXT("Missing"), TEXT("ctx"), false), nullptr);
	EXPECT_EQ(Table->FindRow<FTestItemRow>(NAME_None, TEXT("ctx")), nullptr);
	EXPECT_EQ(Table->FindRow<FTestOtherRow>(TEXT("Bandage"), TEXT("ctx")), nullptr);
	EXPECT_EQ(Table->FindRowUnchecked(TEXT("Missing")), nullptr);

	const TArray<UE::Host::FCapturedLogLine> Lines = Log.GetLines();
	ASSERT_EQ(Lines.Num(), 3);
	const std::string Path = Str(Table->GetPathName());
	EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Warning);
	EXPECT_EQ(Str(Lines[0].Text), "UDataTable::FindRow : 'ctx' requested row 'Missing' not in DataTable '" + Path + "'.");
	EXPECT_EQ(Lines[1].Verbosity, ELogVerbosity::Warning);
	EXPECT_EQ(Str(Lines[1].Text), "UDataTable::FindRow : 'ctx' requested invalid row 'None' from DataTable '" + Path + "'.");
	EXPECT_EQ(Lines[2].Verbosity, ELogVerbosity::Error);
	EXPECT_EQ(Str(Lines[2].Text), "UDataTable::FindRow : 'ctx' specified incorrect type for DataTable '" + Path + "'.");

	// A table without a row struct finds nothing and says so.
	UDataTable* const Bare = MakeTable(TEXT("/Game/Data/Bare.Bare"), nullptr);
	Log.Reset();
	EXPECT_EQ(Bare->FindRow<FTestItemRow>(TEXT("Bandage"), TEXT("ctx")), nullptr);
	EXPECT_EQ(Bare->FindRowUnchecked(TEXT("Bandage")), nullptr);
	EXPECT_EQ(Log.Count(TEXT("specified no row for DataTable"), ELogVerbosity::Error), 1);
}

TEST_F(HostEngineDataTable, RowsKeepTheObjectsTheyReferenceUntilRemoved)
{
	UDataTable* const Table = MakeTable(TEXT("/Game/Data/Refs.Refs"), FTestItemRow::StaticStruct());
	UTestBroadcaster* const Payload = NewObject<UTestBroadcaster>();
	const TWeakObjectPtr<UTestBroadcaster> Weak(Payload);
	Table->AddRow(TEXT("Holder"), Row(TEXT("Holder"), 1, Payload));
	Engine->CollectGarbage();
	ASSERT_TRUE(Weak.IsValid());
	EXPECT_EQ(Table->FindRow<FTestItemRow>(TEXT("Holder"), TEXT("test"))->Payload, Payload);

	Table->RemoveRow(TEXT("Holder"));
	Engine->CollectGarbage();
	EXPECT_FALSE(Weak.IsValid());

	// A released table goes with the collection, and its rows with it.
	UTestBroadcaster* const Other = NewObject<UTestBroadcaster>();
	const TWeakObjectPtr<UTestBroadcaster> WeakOther(Other);
	Table->AddRow(TEXT("Holder"), Row(TEXT("Holder"), 1, Other));
	const TWeakObjectPtr<UDataTable> WeakTable(Table);
	UE::Host::ReleaseAsset(Table);
	Assets.Remove(Table);
	Engine->CollectGarbage();
	EXPECT_FALSE(WeakTable.IsValid());
	EXPECT_FALSE(WeakOther.IsValid());
}

TEST_F(HostEngineDataTable, CreateAssetRefusesBadPathsAndTakenOnes)
{
	UE::Host::FLogCapture Log(TEXT("LogEngine"));
	EXPECT_EQ(UE::Host::CreateAsset<UDataTable>(TEXT("NoSlash")), nullptr);
	EXPECT_EQ(UE::Host::CreateAsset<UDataTable>(TEXT("/Game/Data/")), nullptr);
	EXPECT_EQ(UE::Host::CreateAsset<UDataTable>(TEXT("/Game/Data/Sub.Table:Inner")), nullptr);
	ASSERT_NE(MakeTable(TEXT("/Game/Data/Taken.Taken"), FTestItemRow::StaticStruct()), nullptr);
	EXPECT_EQ(UE::Host::CreateAsset<UDataTable>(TEXT("/Game/Data/Taken.Taken")), nullptr);
	EXPECT_EQ(Log.CountAtVerbosity(ELogVerbosity::Warning), 4);
}

TEST_F(HostEngineDataTable, UserDefinedStructRowsAreReadThroughReflectionByAuthoredNames)
{
	using UE::Host::CodeGen::EPropertyKind;
	UE::Host::FUserDefinedStructBuilder Builder(TEXT("S_LootRow"));
	const FName NameMember = Builder.AddMember(TEXT("DisplayName"), EPropertyKind::Str);
	const FName CountMember = Builder.AddMember(TEXT("Count"), EPropertyKind::Int);
	const FName PayloadMember = Builder.AddMember(TEXT("Payload"), EPropertyKind::Object, nullptr, UObject::StaticClass());
	const FName IconMember = Builder.AddMember(TEXT("Icon"), EPropertyKind::SoftObject, nullptr, UTexture2D::StaticClass());
	UUserDefinedStruct* const Struct = Builder.Finish();
	ASSERT_NE(Struct, nullptr);
	// The editor's suffix: "<Name>_<N>_<32 hex digits>".
	EXPECT_TRUE(CountMember.ToString().StartsWith(TEXT("Count_")));
	EXPECT_EQ(CountMember.ToString().Len(), FCString::Strlen(TEXT("Count_1_")) + 32);

	UDataTable* const Table = MakeTable(TEXT("/Game/Data/Loot.Loot"), Struct);
	FProperty* const NameProperty = Table->FindTableProperty(TEXT("DisplayName"));
	FProperty* const CountProperty = Table->FindTableProperty(TEXT("Count"));
	FObjectPropertyBase* const PayloadProperty = CastField<FObjectPropertyBase>(Table->FindTableProperty(TEXT("Payload")));
	FSoftObjectProperty* const IconProperty = CastField<FSoftObjectProperty>(Table->FindTableProperty(TEXT("Icon")));
	ASSERT_NE(NameProperty, nullptr);
	ASSERT_NE(CountProperty, nullptr);
	ASSERT_NE(PayloadProperty, nullptr);
	ASSERT_NE(IconProperty, nullptr);
	EXPECT_EQ(NameProperty->GetFName(), NameMember);
	EXPECT_EQ(IconProperty->GetFName(), IconMember);
	EXPECT_EQ(PayloadProperty->GetFName(), PayloadMember);
	EXPECT_EQ(Table->FindTableProperty(CountMember), CountProperty);
	EXPECT_EQ(Table->FindTableProperty(TEXT("Nothing")), nullptr);
	EXPECT_EQ(Str(Struct->GetAuthoredNameForField(PayloadProperty)), "Payload");

	UTestBroadcaster* const Payload = NewObject<UTestBroadcaster>();
	const TWeakObjectPtr<UTestBroadcaster> WeakPayload(Payload);
	{
		TArray<uint8> Memory;
		Memory.SetNumZeroed(Struct->GetStructureSize());
		Struct->InitializeStruct(Memory.GetData());
		*NameProperty->ContainerPtrToValuePtr<FString>(Memory.GetData()) = TEXT("Gauze");
		*CountProperty->ContainerPtrToValuePtr<int32>(Memory.GetData()) = 12;
		PayloadProperty->SetObjectPropertyValue_InContainer(Memory.GetData(), Payload);
		*IconProperty->ContainerPtrToValuePtr<FSoftObjectPtr>(Memory.GetData()) = FSoftObjectPath(TEXT("/Game/Icons/Bandage.Bandage"));
		Table->AddRow(TEXT("Gauze"), Memory.GetData(), Struct);
		Struct->DestroyStruct(Memory.GetData());
	}

	uint8* const RowData = Table->FindRowUnchecked(TEXT("Gauze"));
	ASSERT_NE(RowData, nullptr);
	EXPECT_EQ(Str(*NameProperty->ContainerPtrToValuePtr<FString>(RowData)), "Gauze");
	EXPECT_EQ(*CountProperty->ContainerPtrToValuePtr<int32>(RowData), 12);
	EXPECT_EQ(PayloadProperty->GetObjectPropertyValue_InContainer(RowData), Payload);
	const FSoftObjectPtr& Icon = *IconProperty->ContainerPtrToValuePtr<FSoftObjectPtr>(RowData);
	EXPECT_EQ(Str(Icon.ToSoftObjectPath().ToString()), "/Game/Icons/Bandage.Bandage");
	UTexture2D* const Texture = Cast<UTexture2D>(Icon.LoadSynchronous());
	ASSERT_NE(Texture, nullptr);
	EXPECT_EQ(Texture->GetSizeX(), 3);

	// The row's object reference is followed by the collector.
	Engine->CollectGarbage();
	EXPECT_TRUE(WeakPayload.IsValid());
	Table->EmptyTable();
	Engine->CollectGarbage();
	EXPECT_FALSE(WeakPayload.IsValid());
}
