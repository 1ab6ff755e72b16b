// Reflected types the CoreUObject tests read back and exercise, compiled through the header tool.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/SoftObjectPtr.h"
#include "UObject/WeakObjectPtr.h"
#include "Templates/SubclassOf.h"
#include "ReflectionTestTypes.generated.h"

/** How a test container lays out its items. */
UENUM(BlueprintType)
enum class ETestLayout : uint8
{
	/** Cells of a grid. */
	Grid = 0,
	Slots = 1 UMETA(DisplayName="Flat slots"),
	Hidden = 5 UMETA(Hidden),
};

UENUM()
namespace ETestLegacy
{
	enum Type
	{
		First,
		Second = 10,
	};
}

/** One stack of items. */
USTRUCT(BlueprintType)
struct HOSTUOBJECTTESTTYPES_API FTestItem
{
	GENERATED_BODY()

	/** The platform's id of the stack. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Test")
	FString InstanceId;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Test", meta=(ClampMin="1"))
	int32 Quantity = 1;

	UPROPERTY(BlueprintReadOnly, Category="Test")
	FName ItemId;

	UPROPERTY()
	TObjectPtr<UObject> Owner;
};

USTRUCT(BlueprintType)
struct HOSTUOBJECTTESTTYPES_API FTestBag
{
	GENERATED_BODY()

	UPROPERTY(BlueprintReadWrite, Category="Test")
	TArray<FTestItem> Items;

	UPROPERTY(BlueprintReadWrite, Category="Test")
	FTestItem Featured;
};

DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FTestItemEvent, const FTestItem&, Item, int32, Code);
DECLARE_DYNAMIC_DELEGATE_RetVal_OneParam(int32, FTestScore, int32, Base);

/**
 * A class with one member of each kind of reflected type.
 *
 * Second paragraph of the tooltip.
 */
UCLASS(BlueprintType, Blueprintable, meta=(DisplayName="Reflection Test Object"))
class HOSTUOBJECTTESTTYPES_API UReflectionTestObject : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Numbers")
	int32 Count = 3;

	UPROPERTY(EditAnywhere, Category="Numbers")
	int64 Big = 0;

	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Numbers")
	float Ratio = 0.5f;

	UPROPERTY(EditAnywhere, Category="Numbers")
	double Precise = 0.0;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Flags")
	bool bNative = false;

	UPROPERTY(EditAnywhere, Category="Flags")
	uint8 bFirstBit : 1;

	UPROPERTY(EditAnywhere, Category="Flags")
	uint8 bSecondBit : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Text")
	FString Label;

	UPROPERTY(EditAnywhere, Category="Text")
	FName Tag;

	UPROPERTY(EditAnywhere, Category="Text")
	FText Title;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Enums")
	ETestLayout Layout = ETestLayout::Grid;

	UPROPERTY(EditAnywhere, Category="Enums")
	TEnumAsByte<ETestLegacy::Type> Legacy;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Structs")
	FTestItem Item;

	UPROPERTY(EditAnywhere, Category="Structs")
	FTestBag Bag;

	UPROPERTY()
	UObject* RawRef = nullptr;

	UPROPERTY()
	TObjectPtr<UObject> PtrRef;

	UPROPERTY()
	TArray<TObjectPtr<UObject>> ArrayRefs;

	UPROPERTY()
	TMap<FName, TObjectPtr<UObject>> MapRefs;

	UPROPERTY()
	TSet<TObjectPtr<UObject>> SetRefs;

	UPROPERTY()
	TWeakObjectPtr<UObject> WeakRef;

	UPROPERTY(EditAnywhere, Category="Assets")
	TSoftObjectPtr<UObject> SoftRef;

	UPROPERTY(EditAnywhere, Category="Assets")
	TSubclassOf<UObject> ClassRef;

	UPROPERTY(BlueprintAssignable, Category="Events")
	FTestItemEvent OnItem;

	UPROPERTY()
	FTestScore Score;

	// Not reflected: invisible to the collector.
	UObject* HiddenRef = nullptr;

	/** Adds two numbers. */
	UFUNCTION(BlueprintCallable, Category="Calls")
	int32 Add(int32 A, int32 B = 2);

	UFUNCTION(BlueprintPure, Category="Calls")
	static FString Describe(const FTestItem& InItem, int32& OutQuantity);

	UFUNCTION(BlueprintCallable, Category="Calls")
	void Append(UPARAM(ref) TArray<FString>& Values, const FString& Value);

	UFUNCTION(BlueprintCallable, Category="Calls")
	bool IsCountPositive() const;

	/** Called when a stack arrives; a Blueprint subclass implements it. */
	UFUNCTION(BlueprintImplementableEvent, Category="Events")
	void OnArrived(const FTestItem& InItem, int32 Amount);

	UFUNCTION(BlueprintImplementableEvent, Category="Events")
	int32 ComputeBonus(int32 Base) const;

	UFUNCTION(BlueprintNativeEvent, Category="Events")
	FString Greet(const FString& Who);

	UFUNCTION()
	void ReceiveItem(const FTestItem& InItem, int32 Code);

	UFUNCTION()
	int32 ScoreTimesTwo(int32 Base);

	int32 ReceivedCount = 0;
	int32 LastCode = 0;
	FString LastInstanceId;

	virtual void BeginDestroy() override;
	virtual void FinishDestroy() override;

private:
	FString Greet_Implementation(const FString& Who);
};

/** A class whose default object reads its values from the game config. */
UCLASS(Config=Game, DefaultConfig)
class HOSTUOBJECTTESTTYPES_API UConfigTestSettings : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY(Config, EditAnywhere, Category="Service")
	FString BaseAddress = TEXT("https://default.invalid");

	UPROPERTY(Config, EditAnywhere, Category="Service")
	int32 TimeoutSeconds = 10;

	UPROPERTY(Config, EditAnywhere, Category="Service")
	bool bAllowInsecure = false;

	UPROPERTY(Config, EditAnywhere, Category="Service")
	TSoftObjectPtr<UObject> IconTable;

	UPROPERTY(Config, EditAnywhere, Category="Service")
	TArray<FString> Mirrors;

	UPROPERTY(EditAnywhere, Category="Service")
	int32 NotFromConfig = 7;
};

/** Keeps what it holds alive through a class-level reference hook rather than a property. */
UCLASS()
class HOSTUOBJECTTESTTYPES_API UHookHolder : public UObject
{
	GENERATED_BODY()

public:
	UObject* Held = nullptr;
	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);
};

/** A subobject owner: creates its part in the constructor. */
UCLASS()
class HOSTUOBJECTTESTTYPES_API USubobjectOwner : public UObject
{
	GENERATED_BODY()

public:
	USubobjectOwner();

	UPROPERTY()
	TObjectPtr<UReflectionTestObject> Part;
};
