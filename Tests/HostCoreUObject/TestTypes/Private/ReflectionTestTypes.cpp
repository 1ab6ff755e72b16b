#include "ReflectionTestTypes.h"
#include "Host/DestroyLog.h"

int32 UReflectionTestObject::Add(int32 A, int32 B)
{
	return A + B + Count;
}

FString UReflectionTestObject::Describe(const FTestItem& InItem, int32& OutQuantity)
{
	OutQuantity = InItem.Quantity * 10;
	return InItem.InstanceId + TEXT("/") + InItem.ItemId.ToString();
}

void UReflectionTestObject::Append(TArray<FString>& Values, const FString& Value)
{
	Values.Add(Value);
}

bool UReflectionTestObject::IsCountPositive() const
{
	return Count > 0;
}

FString UReflectionTestObject::Greet_Implementation(const FString& Who)
{
	return TEXT("Hello ") + Who;
}

void UReflectionTestObject::ReceiveItem(const FTestItem& InItem, int32 Code)
{
	++ReceivedCount;
	LastCode = Code;
	LastInstanceId = InItem.InstanceId;
}

int32 UReflectionTestObject::ScoreTimesTwo(int32 Base)
{
	return Base * 2;
}

void UReflectionTestObject::BeginDestroy()
{
	UE::Host::Tests::RecordDestroy(GetFName(), TEXT("BeginDestroy"));
	Super::BeginDestroy();
}

void UReflectionTestObject::FinishDestroy()
{
	UE::Host::Tests::RecordDestroy(GetFName(), TEXT("FinishDestroy"));
	Super::FinishDestroy();
}

void UHookHolder::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UHookHolder* This = (UHookHolder*)InThis;
	Collector.AddReferencedObject(This->Held, This);
	Super::AddReferencedObjects(InThis, Collector);
}

USubobjectOwner::USubobjectOwner()
{
	Part = CreateDefaultSubobject<UReflectionTestObject>(TEXT("Part"));
}

namespace UE::Host::Tests
{
	static TArray<FString>& DestroyLog()
	{
		static TArray<FString> Log;
		return Log;
	}

	void RecordDestroy(FName Object, const TCHAR* Step)
	{
		DestroyLog().Add(Object.ToString() + TEXT(":") + Step);
	}

	TArray<FString> TakeDestroyLog()
	{
		TArray<FString> Result = MoveTemp(DestroyLog());
		DestroyLog().Reset();
		return Result;
	}
}
