// Copyright Quarn. All Rights Reserved.

// Feeds arbitrary bytes, as UTF-8 text, to the Json reader in each of its output forms. Whatever
// parses is written out pretty and condensed, and the condensed text must read back and write out
// to the same bytes.

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "JsonGlobals.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
	using FCondensedWriterFactory = TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>;

	void Require(bool bCondition, const char* What)
	{
		if (!bCondition)
		{
			std::fprintf(stderr, "fuzz-json: %s\n", What);
			std::abort();
		}
	}

	FString WriteCondensed(const TSharedPtr<FJsonValue>& Root)
	{
		FString Out;
		if (Root->Type == EJson::Object)
		{
			Require(FJsonSerializer::Serialize(Root->AsObject(), FCondensedWriterFactory::Create(&Out)), "object did not serialise");
		}
		else
		{
			Require(FJsonSerializer::Serialize(Root->AsArray(), FCondensedWriterFactory::Create(&Out)), "array did not serialise");
		}
		return Out;
	}

	FString WritePretty(const TSharedPtr<FJsonValue>& Root)
	{
		FString Out;
		if (Root->Type == EJson::Object)
		{
			Require(FJsonSerializer::Serialize(Root->AsObject(), TJsonWriterFactory<>::Create(&Out)), "object did not serialise");
		}
		else
		{
			Require(FJsonSerializer::Serialize(Root->AsArray(), TJsonWriterFactory<>::Create(&Out)), "array did not serialise");
		}
		return Out;
	}

	// Every conversion of every value, walked without recursion; none may crash.
	void ExerciseAccessors(const TSharedPtr<FJsonValue>& Root)
	{
		TArray<TSharedPtr<FJsonValue>> Pending;
		Pending.Add(Root);
		while (Pending.Num() > 0)
		{
			const TSharedPtr<FJsonValue> Value = Pending.Pop();
			double Double;
			float Float;
			int8 I8;
			int16 I16;
			int32 I32;
			int64 I64;
			uint8 U8;
			uint16 U16;
			uint32 U32;
			uint64 U64;
			bool Bool;
			FString String;
			Value->TryGetNumber(Double);
			Value->TryGetNumber(Float);
			Value->TryGetNumber(I8);
			Value->TryGetNumber(I16);
			Value->TryGetNumber(I32);
			Value->TryGetNumber(I64);
			Value->TryGetNumber(U8);
			Value->TryGetNumber(U16);
			Value->TryGetNumber(U32);
			Value->TryGetNumber(U64);
			Value->TryGetBool(Bool);
			Value->TryGetString(String);

			const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
			const TSharedPtr<FJsonObject>* Object = nullptr;
			if (Value->TryGetArray(Array))
			{
				Pending.Append(*Array);
			}
			else if (Value->TryGetObject(Object))
			{
				Require(Object->IsValid(), "object value without an object");
				for (const auto& Pair : (*Object)->Values)
				{
					Require(Pair.Value.IsValid(), "field without a value");
					Require((*Object)->HasField(Pair.Key.ToView()), "field not found by its own key");
					(*Object)->GetIntegerField(Pair.Key.ToView());
					Pending.Add(Pair.Value);
				}
			}
		}
	}

	void CheckRoundTrip(const FString& Text, FJsonSerializer::EFlags Flags)
	{
		const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(Text);
		TSharedPtr<FJsonValue> Root;
		if (!FJsonSerializer::Deserialize(Reader, Root, Flags))
		{
			Require(!Reader->GetErrorMessage().IsEmpty() || Text.IsEmpty(), "failure without an error message");
			return;
		}
		Require(Root.IsValid() && (Root->Type == EJson::Object || Root->Type == EJson::Array), "root is not an object or array");

		ExerciseAccessors(Root);
		WritePretty(Root);
		const FString Condensed = WriteCondensed(Root);

		TSharedPtr<FJsonValue> Again;
		Require(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Condensed), Again, Flags), "written text does not read back");
		Require(WriteCondensed(Again).Equals(Condensed, ESearchCase::CaseSensitive), "written text changes on a second round trip");

		const TSharedPtr<FJsonValue> Copy = FJsonValue::Duplicate(Root);
		Require(Copy.IsValid(), "duplicate failed");
		FJsonValue::CompareEqual(*Copy, *Root);
	}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv)
{
	// Reads of mismatched fields log by design; millions of such lines would only slow the run.
	UE_SET_LOG_VERBOSITY(LogJson, Fatal);
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	if (Size > (size_t)(1 << 20))
	{
		return 0;
	}
	const FUTF8ToTCHAR Converted((const ANSICHAR*)Data, (int32)Size);
	const FString Text(Converted.Length(), Converted.Get());

	CheckRoundTrip(Text, FJsonSerializer::EFlags::None);
	CheckRoundTrip(Text, FJsonSerializer::EFlags::StoreNumbersAsStrings);

	// The typed forms agree with the root's kind.
	TSharedPtr<FJsonObject> Object;
	TArray<TSharedPtr<FJsonValue>> Array;
	const bool bObject = FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object);
	const bool bArray = FJsonSerializer::Deserialize(TJsonReaderFactory<>::CreateFromView(FStringView(Text)), Array);
	Require(!(bObject && bArray), "a document is both an object and an array");
	Require(!bObject || Object.IsValid(), "object read without an object");
	return 0;
}
