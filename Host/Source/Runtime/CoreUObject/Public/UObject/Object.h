// UObject, the base of every reflected class.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/UObjectBaseUtility.h"
#include "UObject/Script.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/ObjectPtr.h"

class UWorld;
class FFrame;

class COREUOBJECT_API UObject : public UObjectBaseUtility
{
	DECLARE_CLASS(UObject, UObject, CLASS_Abstract | CLASS_Intrinsic | CLASS_MatchedSerializers, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UObject)

	typedef UObject WithinClass;
	static const TCHAR* StaticConfigName() { return TEXT("Engine"); }
	static void StaticRegisterNativesUObject() {}

	UObject();
	UObject(const FObjectInitializer& ObjectInitializer);
	using UObjectBaseUtility::UObjectBaseUtility;
	virtual ~UObject() override = default;

	// Lifetime
	virtual void PostInitProperties();
	virtual void PostLoad() {}
	virtual void BeginDestroy();
	virtual bool IsReadyForFinishDestroy() { return true; }
	virtual void FinishDestroy();
	bool ConditionalBeginDestroy();
	bool ConditionalFinishDestroy();
	bool HasBegunDestroy() const { return HasAnyFlags(RF_BeginDestroyed); }

	// The class-level reference hook the garbage collector calls for every reachable object.
	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

	// The world this object lives in: found through the outer chain unless a class knows better.
	virtual UWorld* GetWorld() const;
	virtual bool ImplementsGetWorld() const;

	// Reflection calls
	virtual void ProcessEvent(UFunction* Function, void* Parms);
	UFunction* FindFunction(FName InName) const;
	UFunction* FindFunctionChecked(FName InName) const;

	// Config
	void LoadConfig(UClass* ConfigClass = nullptr, const TCHAR* Filename = nullptr);
	FString GetDefaultConfigFilename() const;

	// Subobjects, created while a constructor runs.
	template<class TReturnType>
	TReturnType* CreateDefaultSubobject(FName SubobjectName, bool bTransient = false)
	{
		return static_cast<TReturnType*>(CreateDefaultSubobject(SubobjectName, TReturnType::StaticClass(), TReturnType::StaticClass(), /*bIsRequired*/ true, bTransient));
	}
	UObject* CreateDefaultSubobject(FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient);

};

// True for a live object that is not marked as garbage.
FORCEINLINE bool IsValid(const UObject* Test)
{
	return Test && !Test->HasAnyFlags(RF_MirroredGarbage);
}

FORCEINLINE bool IsValidChecked(const UObject* Test)
{
	check(Test);
	return !Test->HasAnyFlags(RF_MirroredGarbage);
}

template<typename T>
FORCEINLINE T* GetValid(T* Test)
{
	return IsValid(Test) ? Test : nullptr;
}

#include "Templates/Casts.h"
#include "UObject/Class.h"
