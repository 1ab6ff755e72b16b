// The adapter's Blueprint surface as the header tool registered it: what a graph, the details panel
// and the async-node factory see.
#include "QuarnUSMETestSupport.h"
#include "QuarnUSMELibrary.h"
#include "QuarnUSMESyncTest.h"
#include "UObject/UnrealType.h"

#include <vector>

using namespace QuarnUSMETest;

namespace
{
	UFunction* FindChecked(UClass* Class, const TCHAR* Name)
	{
		UFunction* Function = Class->FindFunctionByName(FName(Name));
		EXPECT_NE(Function, nullptr) << Str(Name);
		return Function;
	}

	FProperty* Parameter(UFunction* Function, const TCHAR* Name)
	{
		for (TFieldIterator<FProperty> It(Function); It; ++It)
		{
			if (It->GetFName() == FName(Name))
			{
				return *It;
			}
		}
		ADD_FAILURE() << "no parameter " << Str(Name);
		return nullptr;
	}

	/** "in", "out" or "ref", as the Blueprint editor makes pins of them. */
	std::string PinKind(const FProperty* Property)
	{
		if (!Property->HasAnyPropertyFlags(CPF_OutParm))
		{
			return "in";
		}
		if (Property->HasAnyPropertyFlags(CPF_ReferenceParm))
		{
			return Property->HasAnyPropertyFlags(CPF_ConstParm) ? "in" : "ref";
		}
		return "out";
	}
}

TEST(QuarnUSMEReflection, LibraryFunctionsAsAGraphSeesThem)
{
	UClass* Library = UQuarnUSMELibrary::StaticClass();
	struct FCase
	{
		const TCHAR* Name;
		const char* DisplayName;
		bool bPure;
	};
	const FCase Cases[] = {
		{TEXT("MakeItemFromUSME"), "Velmora - Item From USME Fields", true},
		{TEXT("BreakItemToUSME"), "Velmora - Item To USME Fields", true},
		{TEXT("ReadInstanceId"), "Velmora - Read Instance Id", true},
		{TEXT("WriteInstanceId"), "Velmora - Write Instance Id", false},
		{TEXT("IsReservedKey"), "", true},
	};
	for (const FCase& Case : Cases)
	{
		UFunction* Function = FindChecked(Library, Case.Name);
		ASSERT_NE(Function, nullptr);
		EXPECT_EQ(Str(Function->GetMetaData(TEXT("Category"))), "Velmora|USME") << Str(Case.Name);
		EXPECT_EQ(Str(Function->GetMetaData(TEXT("DisplayName"))), Case.DisplayName) << Str(Case.Name);
		EXPECT_EQ(Function->HasAnyFunctionFlags(FUNC_BlueprintPure), Case.bPure) << Str(Case.Name);
		EXPECT_TRUE(Function->HasAnyFunctionFlags(FUNC_BlueprintCallable | FUNC_Static | FUNC_Native)) << Str(Case.Name);
		EXPECT_EQ(Str(Function->GetMetaData(TEXT("ModuleRelativePath"))), "Public/QuarnUSMELibrary.h");
	}

	UFunction* Make = FindChecked(Library, TEXT("MakeItemFromUSME"));
	EXPECT_EQ(PinKind(Parameter(Make, TEXT("DataKeys"))), "in");
	EXPECT_TRUE(Parameter(Make, TEXT("DataKeys"))->HasMetaData(TEXT("NativeConst")));
	EXPECT_EQ(Str(Make->GetToolTipText().ToString()), "Builds a platform item instance from the fields of a USME S_InventoryItem.");

	UFunction* Break = FindChecked(Library, TEXT("BreakItemToUSME"));
	EXPECT_TRUE(Parameter(Break, TEXT("Item"))->HasMetaData(TEXT("NativeConst")));
	for (const TCHAR* Output : {TEXT("ID"), TEXT("Amount"), TEXT("CachedIndex"), TEXT("Durability"), TEXT("DataKeys"), TEXT("DataValues")})
	{
		EXPECT_EQ(PinKind(Parameter(Break, Output)), "out") << Str(Output);
	}

	UFunction* Write = FindChecked(Library, TEXT("WriteInstanceId"));
	EXPECT_EQ(PinKind(Parameter(Write, TEXT("DataKeys"))), "ref");
	EXPECT_EQ(PinKind(Parameter(Write, TEXT("DataValues"))), "ref");
	EXPECT_EQ(PinKind(Parameter(Write, TEXT("InstanceId"))), "in");

	const FString ReservedTip = FindChecked(Library, TEXT("IsReservedKey"))->GetToolTipText().ToString();
	EXPECT_TRUE(ReservedTip.StartsWith(TEXT("True for keys the platform reserves."))) << Str(ReservedTip);
	EXPECT_TRUE(ReservedTip.Contains(TEXT("Reserved keys are namespaced __qn"))) << Str(ReservedTip);
}

TEST(QuarnUSMEReflection, SyncNodeAndReport)
{
	UFunction* Factory = FindChecked(UQuarnSyncStash::StaticClass(), TEXT("SyncStash"));
	ASSERT_NE(Factory, nullptr);
	EXPECT_EQ(Str(Factory->GetMetaData(TEXT("BlueprintInternalUseOnly"))), "true");
	EXPECT_EQ(Str(Factory->GetMetaData(TEXT("WorldContext"))), "WorldContextObject");
	EXPECT_EQ(Str(Factory->GetMetaData(TEXT("DisplayName"))), "Velmora - Sync Container From USME");
	EXPECT_EQ(Str(Factory->GetMetaData(TEXT("Category"))), "Velmora|USME");
	for (const TCHAR* Name : {TEXT("PlayerId"), TEXT("ContainerId"), TEXT("DesiredItems")})
	{
		EXPECT_TRUE(Parameter(Factory, Name)->HasMetaData(TEXT("NativeConst"))) << Str(Name);
	}
	EXPECT_TRUE(Factory->GetToolTipText().ToString().Contains(TEXT("no instance id")));

	// The async-node factory turns each BlueprintAssignable delegate into an exec pin.
	for (const TCHAR* Pin : {TEXT("OnSuccess"), TEXT("OnFailure")})
	{
		const FMulticastDelegateProperty* Property = CastField<FMulticastDelegateProperty>(FindFProperty<FProperty>(UQuarnSyncStash::StaticClass(), FName(Pin)));
		ASSERT_NE(Property, nullptr) << Str(Pin);
		EXPECT_TRUE(Property->HasAnyPropertyFlags(CPF_BlueprintAssignable));
		EXPECT_EQ(Str(Property->SignatureFunction->GetName()), "QuarnSyncPin__DelegateSignature");
	}
	const FProperty* Context = FindFProperty<FProperty>(UQuarnSyncStash::StaticClass(), TEXT("Context"));
	ASSERT_NE(Context, nullptr) << "the world context is reflected so that the collector sees it";

	UScriptStruct* Report = FQuarnSyncReport::StaticStruct();
	EXPECT_EQ(Str(Report->GetToolTipText().ToString()), "What a reconcile actually did, so a server can log it or surface it in tests.");
	std::vector<std::string> Fields;
	for (TFieldIterator<FProperty> It(Report); It; ++It)
	{
		Fields.push_back(Str(It->GetName()));
		EXPECT_TRUE(It->HasAllPropertyFlags(CPF_BlueprintVisible | CPF_BlueprintReadOnly)) << Str(It->GetName());
		EXPECT_EQ(Str(It->GetMetaData(TEXT("Category"))), "Velmora");
	}
	EXPECT_EQ(Fields, (std::vector<std::string>{"Granted", "Consumed", "Moved", "Unchanged", "Warnings"}));
	EXPECT_EQ(Str(FindFProperty<FProperty>(Report, TEXT("Warnings"))->GetToolTipText().ToString()), "Anything skipped and why. Empty on a clean reconcile.");
}

TEST(QuarnUSMEReflection, TestActorForTheLevelAndDetailsPanel)
{
	UClass* Class = AQuarnUSMESyncTest::StaticClass();
	EXPECT_EQ(Str(Class->GetMetaData(TEXT("DisplayName"))), "Velmora USME Sync Test");
	EXPECT_EQ(Str(Class->GetMetaData(TEXT("BlueprintType"))), "true");
	EXPECT_EQ(Str(Class->GetMetaData(TEXT("IsBlueprintBase"))), "true");

	UFunction* Run = FindChecked(Class, TEXT("RunSyncTest"));
	ASSERT_NE(Run, nullptr);
	EXPECT_EQ(Str(Run->GetMetaData(TEXT("CallInEditor"))), "true");
	EXPECT_TRUE(Run->HasAnyFunctionFlags(FUNC_BlueprintCallable));

	std::vector<std::string> Names;
	for (TFieldIterator<FProperty> It(Class, EFieldIteratorFlags::ExcludeSuper); It; ++It)
	{
		if (It->HasAnyPropertyFlags(CPF_Edit))
		{
			Names.push_back(Str(It->GetName()));
			EXPECT_EQ(Str(It->GetMetaData(TEXT("Category"))), "Velmora");
			EXPECT_TRUE(It->HasAllPropertyFlags(CPF_BlueprintVisible)) << Str(It->GetName());
			EXPECT_FALSE(It->HasAnyPropertyFlags(CPF_BlueprintReadOnly)) << Str(It->GetName());
		}
	}
	EXPECT_EQ(Names, (std::vector<std::string>{"Ticket", "ItemToAdd", "QuantityToAdd", "bRunOnBeginPlay"}));

	const AQuarnUSMESyncTest* Defaults = GetDefault<AQuarnUSMESyncTest>();
	EXPECT_EQ(Str(Defaults->Ticket), "ue_usme_sync_test");
	EXPECT_EQ(Str(Defaults->ItemToAdd.ToString()), "Bandage");
	EXPECT_EQ(Defaults->QuantityToAdd, 3);
	EXPECT_TRUE(Defaults->bRunOnBeginPlay);
	EXPECT_FALSE(Defaults->PrimaryActorTick.bCanEverTick);

	// The callbacks are bound by name, so their signatures must match the delegates'.
	for (const TCHAR* Callback : {TEXT("OnAuthSuccess"), TEXT("OnStashFailure"), TEXT("OnAddSuccess"), TEXT("OnClearFailure"), TEXT("OnReadBack")})
	{
		EXPECT_NE(Class->FindFunctionByName(FName(Callback)), nullptr) << Str(Callback);
	}
	// OnAddSuccess is bound to FQuarnSyncPin by name: the same parameters in the same order.
	UFunction* Callback = FindChecked(Class, TEXT("OnAddSuccess"));
	UFunction* Signature = CastField<FMulticastDelegateProperty>(FindFProperty<FProperty>(UQuarnSyncStash::StaticClass(), TEXT("OnSuccess")))->SignatureFunction;
	std::vector<std::string> CallbackParameters;
	std::vector<std::string> SignatureParameters;
	for (TFieldIterator<FProperty> It(Callback); It; ++It)
	{
		CallbackParameters.push_back(Str(It->GetCPPType()));
	}
	for (TFieldIterator<FProperty> It(Signature); It; ++It)
	{
		SignatureParameters.push_back(Str(It->GetCPPType()));
	}
	EXPECT_EQ(CallbackParameters, SignatureParameters);
}
