// Copyright Quarn. All Rights Reserved.

// Arbitrary bytes, read as UTF-8, become a container document; whatever parses goes through the
// adapter's reader, then a reconcile of a desired list derived from the same bytes, and the
// transaction body must read back as an object whose intents match the count the report gives.

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Host/CoreHost.h"
#include "QuarnReconcile.h"
#include "QuarnUSMEContainerReader.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
	void Require(bool bCondition, const char* What)
	{
		if (!bCondition)
		{
			std::fprintf(stderr, "fuzz-usme: %s\n", What);
			std::abort();
		}
	}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static bool bInitialised = false;
	if (!bInitialised)
	{
		UE::Host::SetGameThread();
		UE::Host::SetConsoleOutputEnabled(false);
		bInitialised = true;
	}

	const FUTF8ToTCHAR Converted(reinterpret_cast<const ANSICHAR*>(Data), static_cast<int32>(Size));
	const FString Text(Converted.Length(), Converted.Get());
	TSharedPtr<FJsonObject> Document;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Text), Document) || !Document.IsValid())
	{
		return 0;
	}
	const FQuarnUSMEContainerRead Read = QuarnUSMEContainerReader::Read(*Document);

	// The desired list: the container's own items, each changed by a byte of the input, plus a new
	// stack, so that every kind of intent and the duplicate and unknown id paths are reached.
	TArray<FQuarnItemInstance> Desired;
	for (int32 Index = 0; Index < Read.Items.Num(); ++Index)
	{
		FQuarnItemInstance Item = Read.Items[Index];
		const uint8 Byte = Data[Index % Size];
		switch (Byte % 6)
		{
		case 0: break;
		case 1: Item.Quantity = static_cast<int32>(FMath::Clamp<int64>(static_cast<int64>(Item.Quantity) + Byte, MIN_int32, MAX_int32)); break;
		case 2: Item.Quantity = static_cast<int32>(FMath::Clamp<int64>(static_cast<int64>(Item.Quantity) - Byte, MIN_int32, MAX_int32)); break;
		case 3: Item.SlotIndex = Byte; break;
		case 4: Item.InstanceId += TEXT("x"); break;
		case 5: Desired.Add(Item); break;
		}
		Desired.Add(Item);
	}
	FQuarnItemInstance Fresh;
	Fresh.ItemId = FName(TEXT("Fuzz"));
	Fresh.Quantity = static_cast<int32>(Size);
	Desired.Add(Fresh);

	FQuarnSyncReport Report;
	TArray<TSharedPtr<FJsonValue>> Intents;
	QuarnReconcile::BuildIntents(Desired, Read.Items, TEXT("cnt/fuzz"), Report, Intents);
	Require(Intents.Num() == Report.Granted + Report.Consumed + Report.Moved, "intent count differs from the report");

	const FString Body = QuarnReconcile::WriteTransactionBody(Intents, TEXT("cnt/fuzz"), Read.Version);
	TSharedPtr<FJsonObject> Back;
	Require(FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Body), Back) && Back.IsValid(), "body does not read back");
	const TArray<TSharedPtr<FJsonValue>>* BackIntents = nullptr;
	Require(Back->TryGetArrayField(TEXT("intents"), BackIntents) && BackIntents->Num() == Intents.Num(), "intents do not read back");
	return 0;
}
