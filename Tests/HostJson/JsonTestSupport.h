// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "JsonGlobals.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"

#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

namespace JsonTest
{
	// FString's == ignores case; byte-exact checks compare UTF-8 std::strings instead (which also
	// print readably when a check fails).
	inline std::string Utf8(const FString& String)
	{
		const FTCHARToUTF8 Converted(*String, String.Len());
		return std::string(Converted.Get(), (size_t)Converted.Length());
	}

	inline FString FromUtf8(const std::string& Text)
	{
		const FUTF8ToTCHAR Converted(Text.data(), (int32)Text.size());
		return FString(Converted.Length(), Converted.Get());
	}

	inline std::string Pretty(const TSharedPtr<FJsonObject>& Object)
	{
		FString Out;
		EXPECT_TRUE(FJsonSerializer::Serialize(Object, TJsonWriterFactory<>::Create(&Out)));
		return Utf8(Out);
	}

	inline std::string Condensed(const TSharedPtr<FJsonObject>& Object)
	{
		FString Out;
		EXPECT_TRUE(FJsonSerializer::Serialize(Object, TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&Out)));
		return Utf8(Out);
	}

	inline std::string Condensed(const TArray<TSharedPtr<FJsonValue>>& Array)
	{
		FString Out;
		EXPECT_TRUE(FJsonSerializer::Serialize(Array, TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&Out)));
		return Utf8(Out);
	}

	// Parses an object; null when Deserialize fails.
	inline TSharedPtr<FJsonObject> ParseObject(const std::string& Text)
	{
		TSharedPtr<FJsonObject> Object;
		if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(FromUtf8(Text)), Object))
		{
			return nullptr;
		}
		return Object;
	}

	// The reader's error text for an input, "" when the input parses as a value.
	inline std::string ParseError(const std::string& Text)
	{
		const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(FromUtf8(Text));
		TSharedPtr<FJsonValue> Value;
		const bool bParsed = FJsonSerializer::Deserialize(Reader, Value);
		EXPECT_EQ(bParsed, Reader->GetErrorMessage().IsEmpty()) << Text;
		return Utf8(Reader->GetErrorMessage());
	}

	struct FLogLine
	{
		std::string Text;
		ELogVerbosity::Type Verbosity;
	};

	// Collects LogJson lines while alive.
	class FJsonLogCapture : public FOutputDevice
	{
	public:
		FJsonLogCapture() { GLog->AddOutputDevice(this); }
		virtual ~FJsonLogCapture() override { GLog->RemoveOutputDevice(this); }

		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			if (Category == LogJson.GetCategoryName())
			{
				std::lock_guard<std::mutex> Lock(Mutex);
				Lines.push_back({ Utf8(FString(V)), (ELogVerbosity::Type)(Verbosity & ELogVerbosity::VerbosityMask) });
			}
		}

		std::vector<FLogLine> Take()
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			std::vector<FLogLine> Result;
			Result.swap(Lines);
			return Result;
		}

	private:
		std::mutex Mutex;
		std::vector<FLogLine> Lines;
	};
} // namespace JsonTest
