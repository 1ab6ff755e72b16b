// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Logging/LogVerbosity.h"
#include "UObject/NameTypes.h"
#include "Containers/UnrealString.h"

namespace ELogTimes
{
	enum Type
	{
		None,
		UTC,
		SinceGStartTime,
		Local,
		Timecode,
	};
}

// Receives log lines. Serialize gets the message text only; devices add their own decoration.
class CORE_API FOutputDevice
{
public:
	FOutputDevice();
	FOutputDevice(FOutputDevice&&) = default;
	FOutputDevice(const FOutputDevice&) = default;
	FOutputDevice& operator=(FOutputDevice&&) = default;
	FOutputDevice& operator=(const FOutputDevice&) = default;
	virtual ~FOutputDevice();

	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) = 0;
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category, const double Time);
	virtual void Flush();
	virtual void TearDown();
	virtual void Dump(class FArchive& Ar);
	virtual bool IsMemoryOnly() const;
	virtual bool CanBeUsedOnAnyThread() const;
	virtual bool CanBeUsedOnMultipleThreads() const;
	virtual bool CanBeUsedOnPanicThread() const;

	void SetSuppressEventTag(bool bInSuppressEventTag) { bSuppressEventTag = bInSuppressEventTag; }
	FORCEINLINE bool GetSuppressEventTag() const { return bSuppressEventTag; }
	void SetAutoEmitLineTerminator(bool bInAutoEmitLineTerminator) { bAutoEmitLineTerminator = bInAutoEmitLineTerminator; }
	FORCEINLINE bool GetAutoEmitLineTerminator() const { return bAutoEmitLineTerminator; }

	void Log(const TCHAR* S);
	void Log(ELogVerbosity::Type Verbosity, const TCHAR* S);
	void Log(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Str);
	void Log(const FString& S);
	void Log(ELogVerbosity::Type Verbosity, const FString& S);
	void Log(const FName& Category, ELogVerbosity::Type Verbosity, const FString& S);

	template <typename... Types>
	void Logf(UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Fmt, Types... Args)
	{
		Log(FString::Printf(Fmt, Args...));
	}
	template <typename... Types>
	void Logf(ELogVerbosity::Type Verbosity, UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Fmt, Types... Args)
	{
		Log(Verbosity, FString::Printf(Fmt, Args...));
	}
	template <typename... Types>
	void CategorizedLogf(const FName& Category, ELogVerbosity::Type Verbosity, UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Fmt, Types... Args)
	{
		Log(Category, Verbosity, FString::Printf(Fmt, Args...));
	}

protected:
	bool bSuppressEventTag;
	bool bAutoEmitLineTerminator;
};

// Formats lines as the engine's console does: "Category: Verbosity: Message", without the
// verbosity for Log.
struct CORE_API FOutputDeviceHelper
{
	static FString FormatLogLine(ELogVerbosity::Type Verbosity, const FName& Category, const TCHAR* Message = nullptr, ELogTimes::Type LogTime = ELogTimes::None, const double Time = -1.0, int32* OutCategoryIndex = nullptr);
	static const TCHAR* VerbosityToString(ELogVerbosity::Type Verbosity);
};
