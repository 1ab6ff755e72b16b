// UObject: lifetime hooks, reflection calls, config loading and subobjects.
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"
#include "UObject/Stack.h"
#include "UObject/Package.h"
#include "UObject/ObjectPrivate.h"
#include "Misc/ConfigCacheIni.h"

DEFINE_LOG_CATEGORY_STATIC(LogObj, Log, All);
DEFINE_LOG_CATEGORY_STATIC(LogScriptCore, Log, All);

UObject::UObject()
{
}

UObject::UObject(const FObjectInitializer& ObjectInitializer)
{
	checkf(!ObjectInitializer.GetObj() || ObjectInitializer.GetObj() == this, TEXT("UObject(const FObjectInitializer&) constructor called but it's not the object that's currently being constructed with NewObject."));
}

void UObject::PostInitProperties()
{
}

void UObject::BeginDestroy()
{
	// Every BeginDestroy override must reach this one.
	SetFlags(RF_BeginDestroyed);
}

void UObject::FinishDestroy()
{
	SetFlags(RF_FinishDestroyed);
}

bool UObject::ConditionalBeginDestroy()
{
	if (HasAnyFlags(RF_BeginDestroyed))
	{
		return false;
	}
	BeginDestroy();
	checkf(HasAnyFlags(RF_BeginDestroyed), TEXT("%s failed to route BeginDestroy"), *GetFullName());
	return true;
}

bool UObject::ConditionalFinishDestroy()
{
	if (HasAnyFlags(RF_FinishDestroyed))
	{
		return false;
	}
	FinishDestroy();
	checkf(HasAnyFlags(RF_FinishDestroyed), TEXT("%s failed to route FinishDestroy"), *GetFullName());
	return true;
}

void UObject::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
}

UWorld* UObject::GetWorld() const
{
	if (UObject* Outer = GetOuter())
	{
		return Outer->GetWorld();
	}
	return nullptr;
}

bool UObject::ImplementsGetWorld() const
{
	return false;
}

UFunction* UObject::FindFunction(FName InName) const
{
	return GetClass()->FindFunctionByName(InName);
}

UFunction* UObject::FindFunctionChecked(FName InName) const
{
	UFunction* Result = FindFunction(InName);
	if (Result == nullptr)
	{
		UE_LOG(LogScriptCore, Fatal, TEXT("Failed to find function %s in %s"), *InName.ToString(), *GetFullName());
	}
	return Result;
}

void UObject::ProcessEvent(UFunction* Function, void* Parms)
{
	checkf(!IsUnreachable(), TEXT("%s  Function: '%s'"), *GetFullName(), *Function->GetPathName());
	if (Function->HasAnyFunctionFlags(FUNC_Native) && Function->GetNativeFunc())
	{
		FFrame Stack(this, Function, Parms);
		uint8* ReturnValueAddress = Function->ReturnValueOffset != MAX_uint16 ? (uint8*)Parms + Function->ReturnValueOffset : nullptr;
		Function->Invoke(this, Stack, ReturnValueAddress);
		return;
	}
	if (const UE::Host::FScriptFunction* Script = Function->GetScriptFunction())
	{
		Script->Body(this, Parms);
	}
	// An event with no implementation does nothing.
}

FString UObject::GetDefaultConfigFilename() const
{
	return FString::Printf(TEXT("%sDefault%s.ini"), *FPaths::ProjectConfigDir(), *GetClass()->ClassConfigName.ToString());
}

void UObject::LoadConfig(UClass* ConfigClass, const TCHAR* Filename)
{
	UClass* Class = ConfigClass ? ConfigClass : GetClass();
	if (!Class->HasAnyClassFlags(CLASS_Config) || !GConfig)
	{
		return;
	}
	const FString ConfigName = Class->ClassConfigName.ToString();
	const FString IniFile = Filename ? FString(Filename)
		: ConfigName == TEXT("Game") ? GGameIni
		: ConfigName == TEXT("Engine") ? GEngineIni
		: ConfigName;
	// Each class in the hierarchy reads its own section, parent first; later values win.
	TArray<UClass*> Chain;
	for (UClass* It = Class; It && It != UObject::StaticClass(); It = It->GetSuperClass())
	{
		Chain.Insert(It, 0);
	}
	for (TFieldIterator<FProperty> It(Class); It; ++It)
	{
		FProperty* Property = *It;
		if (!Property->HasAnyPropertyFlags(CPF_Config))
		{
			continue;
		}
		for (UClass* SectionClass : Chain)
		{
			const FString Section = SectionClass->GetPathName();
			const FString Key = Property->GetName();
			if (FArrayProperty* ArrayProperty = CastField<FArrayProperty>(Property))
			{
				TArray<FString> Values;
				if (GConfig->GetArray(*Section, *Key, Values, IniFile) > 0)
				{
					FScriptArrayHelper Helper(ArrayProperty, Property->ContainerPtrToValuePtr<void>(this));
					Helper.EmptyValues();
					for (const FString& Value : Values)
					{
						const int32 Index = Helper.AddValue();
						const TCHAR* Buffer = *Value;
						ArrayProperty->Inner->ImportTextItem(Buffer, Helper.GetRawPtr(Index));
					}
				}
				continue;
			}
			FString Value;
			if (GConfig->GetString(*Section, *Key, Value, IniFile))
			{
				const TCHAR* Buffer = *Value;
				if (!Property->ImportTextItem(Buffer, Property->ContainerPtrToValuePtr<void>(this)))
				{
					UE_LOG(LogObj, Warning, TEXT("LoadConfig: could not read %s=%s in [%s] of %s"), *Key, *Value, *Section, *IniFile);
				}
			}
		}
	}
}

UObject* UObject::CreateDefaultSubobject(FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient)
{
	return FObjectInitializer::Get().CreateDefaultSubobject(this, SubobjectFName, ReturnType, ClassToCreateByDefault, bIsRequired, bIsTransient);
}
