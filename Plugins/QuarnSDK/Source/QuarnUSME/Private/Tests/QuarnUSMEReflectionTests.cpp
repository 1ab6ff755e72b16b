// Copyright Quarn. All Rights Reserved.

// The adapter's Blueprint surface as the header tool registered it: what a graph, the details panel
// and the async-node factory see.

#include "CoreMinimal.h"

// What these cases read is metadata, which only a target that keeps it has (an editor, not a
// packaged game or server).
#if WITH_DEV_AUTOMATION_TESTS && WITH_METADATA

#include "Misc/AutomationTest.h"
#include "QuarnStashSync.h"
#include "QuarnUSMELibrary.h"
#include "QuarnUSMESyncTest.h"
#include "UObject/UnrealType.h"

BEGIN_DEFINE_SPEC(FQuarnUSMEReflectionSpec, "Quarn.USME.Reflection", EAutomationTestFlags::EditorContext | EAutomationTestFlags::ClientContext | EAutomationTestFlags::ServerContext | EAutomationTestFlags::ProductFilter)

	UFunction* FindFunction(UClass* Class, const TCHAR* Name)
	{
		UFunction* Function = Class->FindFunctionByName(FName(Name));
		TestNotNull(*FString::Printf(TEXT("function %s"), Name), Function);
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
		AddError(FString::Printf(TEXT("%s has no parameter %s"), *Function->GetName(), Name));
		return nullptr;
	}

	/** "in", "out" or "ref", as the Blueprint editor makes pins of them; "none" for no parameter. */
	static FString PinKind(const FProperty* Property)
	{
		if (Property == nullptr)
		{
			return TEXT("none");
		}
		if (!Property->HasAnyPropertyFlags(CPF_OutParm))
		{
			return TEXT("in");
		}
		if (Property->HasAnyPropertyFlags(CPF_ReferenceParm))
		{
			return Property->HasAnyPropertyFlags(CPF_ConstParm) ? TEXT("in") : TEXT("ref");
		}
		return TEXT("out");
	}

	static FString Joined(const TArray<FString>& Names)
	{
		return FString::Join(Names, TEXT(","));
	}

END_DEFINE_SPEC(FQuarnUSMEReflectionSpec)

void FQuarnUSMEReflectionSpec::Define()
{
	It(TEXT("shows the library's functions as a graph sees them"), [this]()
	{
		UClass* Library = UQuarnUSMELibrary::StaticClass();
		struct FCase
		{
			const TCHAR* Name;
			const TCHAR* DisplayName;
			bool bPure;
		};
		const FCase Cases[] = {
			{TEXT("MakeItemFromUSME"), TEXT("Velmora - Item From USME Fields"), true},
			{TEXT("BreakItemToUSME"), TEXT("Velmora - Item To USME Fields"), true},
			{TEXT("ReadInstanceId"), TEXT("Velmora - Read Instance Id"), true},
			{TEXT("WriteInstanceId"), TEXT("Velmora - Write Instance Id"), false},
			{TEXT("IsReservedKey"), TEXT(""), true},
		};
		for (const FCase& Case : Cases)
		{
			UFunction* Function = FindFunction(Library, Case.Name);
			if (Function == nullptr)
			{
				return;
			}
			TestEqualSensitive(*FString::Printf(TEXT("%s category"), Case.Name), Function->GetMetaData(TEXT("Category")), FString(TEXT("Velmora|USME")));
			TestEqualSensitive(*FString::Printf(TEXT("%s display name"), Case.Name), Function->GetMetaData(TEXT("DisplayName")), FString(Case.DisplayName));
			TestEqual(*FString::Printf(TEXT("%s is pure"), Case.Name), Function->HasAnyFunctionFlags(FUNC_BlueprintPure), Case.bPure);
			TestTrue(*FString::Printf(TEXT("%s is callable, static and native"), Case.Name), Function->HasAnyFunctionFlags(FUNC_BlueprintCallable | FUNC_Static | FUNC_Native));
			TestEqualSensitive(*FString::Printf(TEXT("%s header"), Case.Name), Function->GetMetaData(TEXT("ModuleRelativePath")), FString(TEXT("Public/QuarnUSMELibrary.h")));
		}

		UFunction* Make = FindFunction(Library, TEXT("MakeItemFromUSME"));
		UFunction* Break = FindFunction(Library, TEXT("BreakItemToUSME"));
		UFunction* Write = FindFunction(Library, TEXT("WriteInstanceId"));
		UFunction* Reserved = FindFunction(Library, TEXT("IsReservedKey"));
		if (!Make || !Break || !Write || !Reserved)
		{
			return;
		}
		TestEqualSensitive(TEXT("make: DataKeys pin"), PinKind(Parameter(Make, TEXT("DataKeys"))), FString(TEXT("in")));
		const FProperty* MakeKeys = Parameter(Make, TEXT("DataKeys"));
		TestTrue(TEXT("make: DataKeys is const"), MakeKeys != nullptr && MakeKeys->HasMetaData(TEXT("NativeConst")));
#if WITH_EDITORONLY_DATA
		TestEqualSensitive(TEXT("make: tool tip"), Make->GetToolTipText().ToString(), FString(TEXT("Builds a platform item instance from the fields of a USME S_InventoryItem.")));
#endif

		const FProperty* BreakItem = Parameter(Break, TEXT("Item"));
		TestTrue(TEXT("break: Item is const"), BreakItem != nullptr && BreakItem->HasMetaData(TEXT("NativeConst")));
		for (const TCHAR* Output : {TEXT("ID"), TEXT("Amount"), TEXT("CachedIndex"), TEXT("Durability"), TEXT("DataKeys"), TEXT("DataValues")})
		{
			TestEqualSensitive(*FString::Printf(TEXT("break: %s pin"), Output), PinKind(Parameter(Break, Output)), FString(TEXT("out")));
		}

		TestEqualSensitive(TEXT("write: DataKeys pin"), PinKind(Parameter(Write, TEXT("DataKeys"))), FString(TEXT("ref")));
		TestEqualSensitive(TEXT("write: DataValues pin"), PinKind(Parameter(Write, TEXT("DataValues"))), FString(TEXT("ref")));
		TestEqualSensitive(TEXT("write: InstanceId pin"), PinKind(Parameter(Write, TEXT("InstanceId"))), FString(TEXT("in")));

#if WITH_EDITORONLY_DATA
		const FString ReservedTip = Reserved->GetToolTipText().ToString();
		TestTrue(TEXT("reserved: tool tip begins"), ReservedTip.StartsWith(TEXT("True for keys the platform reserves."), ESearchCase::CaseSensitive));
		TestTrue(TEXT("reserved: tool tip names the namespace"), ReservedTip.Contains(TEXT("Reserved keys are namespaced __qn"), ESearchCase::CaseSensitive));
#endif
	});

	It(TEXT("shows the sync node and its report"), [this]()
	{
		UFunction* Factory = FindFunction(UQuarnSyncStash::StaticClass(), TEXT("SyncStash"));
		if (Factory == nullptr)
		{
			return;
		}
		TestEqualSensitive(TEXT("internal use only"), Factory->GetMetaData(TEXT("BlueprintInternalUseOnly")), FString(TEXT("true")));
		TestEqualSensitive(TEXT("world context"), Factory->GetMetaData(TEXT("WorldContext")), FString(TEXT("WorldContextObject")));
		TestEqualSensitive(TEXT("display name"), Factory->GetMetaData(TEXT("DisplayName")), FString(TEXT("Velmora - Sync Container From USME")));
		TestEqualSensitive(TEXT("category"), Factory->GetMetaData(TEXT("Category")), FString(TEXT("Velmora|USME")));
		for (const TCHAR* Name : {TEXT("PlayerId"), TEXT("ContainerId"), TEXT("DesiredItems")})
		{
			const FProperty* Property = Parameter(Factory, Name);
			TestTrue(*FString::Printf(TEXT("%s is const"), Name), Property != nullptr && Property->HasMetaData(TEXT("NativeConst")));
		}
#if WITH_EDITORONLY_DATA
		TestTrue(TEXT("tool tip explains items without an id"), Factory->GetToolTipText().ToString().Contains(TEXT("no instance id"), ESearchCase::CaseSensitive));
#endif

		// The async-node factory turns each BlueprintAssignable delegate into an exec pin.
		for (const TCHAR* Pin : {TEXT("OnSuccess"), TEXT("OnFailure")})
		{
			const FMulticastDelegateProperty* Property = CastField<FMulticastDelegateProperty>(FindFProperty<FProperty>(UQuarnSyncStash::StaticClass(), FName(Pin)));
			if (!TestNotNull(Pin, Property))
			{
				continue;
			}
			TestTrue(*FString::Printf(TEXT("%s is assignable"), Pin), Property->HasAnyPropertyFlags(CPF_BlueprintAssignable));
			TestEqualSensitive(*FString::Printf(TEXT("%s signature"), Pin), Property->SignatureFunction->GetName(), FString(TEXT("QuarnSyncPin__DelegateSignature")));
		}
		TestNotNull(TEXT("the world context, reflected so that the collector sees it"), FindFProperty<FProperty>(UQuarnSyncStash::StaticClass(), TEXT("Context")));

		UScriptStruct* Report = FQuarnSyncReport::StaticStruct();
#if WITH_EDITORONLY_DATA
		TestEqualSensitive(TEXT("report tool tip"), Report->GetToolTipText().ToString(), FString(TEXT("What a reconcile actually did, so a server can log it or surface it in tests.")));
#endif
		TArray<FString> Fields;
		for (TFieldIterator<FProperty> It(Report); It; ++It)
		{
			Fields.Add(It->GetName());
			TestTrue(*FString::Printf(TEXT("%s is visible and read-only"), *It->GetName()), It->HasAllPropertyFlags(CPF_BlueprintVisible | CPF_BlueprintReadOnly));
			TestEqualSensitive(*FString::Printf(TEXT("%s category"), *It->GetName()), It->GetMetaData(TEXT("Category")), FString(TEXT("Velmora")));
		}
		TestEqualSensitive(TEXT("report fields"), Joined(Fields), FString(TEXT("Granted,Consumed,Moved,Unchanged,Warnings")));
		const FProperty* Warnings = FindFProperty<FProperty>(Report, TEXT("Warnings"));
		// Tool tips are editor-only data; a game that keeps metadata has the fields but not this call.
		if (TestNotNull(TEXT("Warnings"), Warnings))
		{
#if WITH_EDITORONLY_DATA
			TestEqualSensitive(TEXT("Warnings tool tip"), Warnings->GetToolTipText().ToString(), FString(TEXT("Anything skipped and why. Empty on a clean reconcile.")));
#endif
		}
	});

	It(TEXT("shows the test actor to the level and the details panel"), [this]()
	{
		UClass* Class = AQuarnUSMESyncTest::StaticClass();
		TestEqualSensitive(TEXT("display name"), Class->GetMetaData(TEXT("DisplayName")), FString(TEXT("Velmora USME Sync Test")));
		TestEqualSensitive(TEXT("Blueprint type"), Class->GetMetaData(TEXT("BlueprintType")), FString(TEXT("true")));
		TestEqualSensitive(TEXT("Blueprint base"), Class->GetMetaData(TEXT("IsBlueprintBase")), FString(TEXT("true")));

		UFunction* Run = FindFunction(Class, TEXT("RunSyncTest"));
		if (Run != nullptr)
		{
			TestEqualSensitive(TEXT("a button in the details panel"), Run->GetMetaData(TEXT("CallInEditor")), FString(TEXT("true")));
			TestTrue(TEXT("callable"), Run->HasAnyFunctionFlags(FUNC_BlueprintCallable));
		}

		TArray<FString> Names;
		for (TFieldIterator<FProperty> It(Class, EFieldIteratorFlags::ExcludeSuper); It; ++It)
		{
			if (It->HasAnyPropertyFlags(CPF_Edit))
			{
				Names.Add(It->GetName());
				TestEqualSensitive(*FString::Printf(TEXT("%s category"), *It->GetName()), It->GetMetaData(TEXT("Category")), FString(TEXT("Velmora")));
				TestTrue(*FString::Printf(TEXT("%s is visible"), *It->GetName()), It->HasAllPropertyFlags(CPF_BlueprintVisible));
				TestFalse(*FString::Printf(TEXT("%s is read-only"), *It->GetName()), It->HasAnyPropertyFlags(CPF_BlueprintReadOnly));
			}
		}
		TestEqualSensitive(TEXT("editable properties"), Joined(Names), FString(TEXT("Ticket,ItemToAdd,QuantityToAdd,bRunOnBeginPlay")));

		const AQuarnUSMESyncTest* Defaults = GetDefault<AQuarnUSMESyncTest>();
		TestEqualSensitive(TEXT("ticket"), Defaults->Ticket, FString(TEXT("ue_usme_sync_test")));
		TestEqual(TEXT("item"), Defaults->ItemToAdd, FName(TEXT("Bandage")));
		TestEqual(TEXT("quantity"), Defaults->QuantityToAdd, 3);
		TestTrue(TEXT("runs on BeginPlay"), Defaults->bRunOnBeginPlay);
		TestFalse(TEXT("ticks"), Defaults->PrimaryActorTick.bCanEverTick);

		// The callbacks are bound by name, so their signatures must match the delegates'.
		for (const TCHAR* Callback : {TEXT("OnAuthSuccess"), TEXT("OnStashFailure"), TEXT("OnAddSuccess"), TEXT("OnClearFailure"), TEXT("OnReadBack")})
		{
			TestNotNull(Callback, Class->FindFunctionByName(FName(Callback)));
		}
		// OnAddSuccess is bound to FQuarnSyncPin by name: the same parameters in the same order.
		UFunction* Callback = FindFunction(Class, TEXT("OnAddSuccess"));
		const FMulticastDelegateProperty* OnSuccess = CastField<FMulticastDelegateProperty>(FindFProperty<FProperty>(UQuarnSyncStash::StaticClass(), TEXT("OnSuccess")));
		if (Callback == nullptr || !TestNotNull(TEXT("OnSuccess"), OnSuccess))
		{
			return;
		}
		TArray<FString> CallbackParameters;
		TArray<FString> SignatureParameters;
		for (TFieldIterator<FProperty> It(Callback); It; ++It)
		{
			CallbackParameters.Add(It->GetCPPType());
		}
		for (TFieldIterator<FProperty> It(OnSuccess->SignatureFunction); It; ++It)
		{
			SignatureParameters.Add(It->GetCPPType());
		}
		TestEqualSensitive(TEXT("callback parameters"), Joined(CallbackParameters), Joined(SignatureParameters));
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS && WITH_METADATA
