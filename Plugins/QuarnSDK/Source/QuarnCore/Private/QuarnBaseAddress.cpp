// Copyright Quarn. All Rights Reserved.

#include "QuarnBaseAddress.h"
#include "HAL/ThreadSafeCounter.h"
#include "QuarnErrorLibrary.h"
#include "QuarnLog.h"

namespace QuarnBaseAddress
{
	static FString HostOf(const FString& AfterScheme)
	{
		// The authority ends at the first slash, question mark or hash; an IPv6 host is bracketed.
		int32 End = AfterScheme.Len();
		for (int32 Index = 0; Index < AfterScheme.Len(); ++Index)
		{
			const TCHAR Char = AfterScheme[Index];
			if (Char == TEXT('/') || Char == TEXT('?') || Char == TEXT('#'))
			{
				End = Index;
				break;
			}
		}
		FString Authority = AfterScheme.Left(End);
		int32 At = INDEX_NONE;
		if (Authority.FindLastChar(TEXT('@'), At))
		{
			Authority.RightChopInline(At + 1);
		}
		if (Authority.StartsWith(TEXT("[")))
		{
			int32 Close = INDEX_NONE;
			return Authority.FindChar(TEXT(']'), Close) ? Authority.Mid(1, Close - 1) : FString();
		}
		int32 Colon = INDEX_NONE;
		return Authority.FindChar(TEXT(':'), Colon) ? Authority.Left(Colon) : Authority;
	}

	bool IsLoopbackHost(const FString& Host)
	{
		if (Host.Equals(TEXT("localhost"), ESearchCase::IgnoreCase) || Host == TEXT("::1"))
		{
			return true;
		}
		// 127.0.0.0/8, written as four decimal octets.
		TArray<FString> Octets;
		Host.ParseIntoArray(Octets, TEXT("."), false);
		if (Octets.Num() != 4 || Octets[0] != TEXT("127"))
		{
			return false;
		}
		for (const FString& Octet : Octets)
		{
			if (Octet.IsEmpty() || Octet.Len() > 3)
			{
				return false;
			}
			// ASCII digits, compared as such: the engine's character tests may take another
			// script's digits for decimal ones, and this check decides whether plain HTTP is allowed.
			int32 Value = 0;
			for (int32 Index = 0; Index < Octet.Len(); ++Index)
			{
				const TCHAR Char = Octet[Index];
				if (Char < TEXT('0') || Char > TEXT('9'))
				{
					return false;
				}
				Value = Value * 10 + (Char - TEXT('0'));
			}
			if (Value > 255)
			{
				return false;
			}
		}
		return true;
	}

	// A Shipping build never sends tokens over plain HTTP to another machine, whatever the project
	// set: the setting is meant for a development server. Said once per process, so that a packaged
	// build's log tells why an address the editor accepted is refused.
	static bool IsInsecureAllowed(bool bAllowInsecure)
	{
#if UE_BUILD_SHIPPING
		if (bAllowInsecure)
		{
			static FThreadSafeCounter Warnings;
			if (Warnings.Increment() == 1)
			{
				UE_LOG(LogQuarn, Warning, TEXT("Allow Insecure Http is set but has no effect in Shipping builds: plain HTTP is allowed only to this machine."));
			}
		}
		return false;
#else
		return bAllowInsecure;
#endif
	}

	bool Validate(const FString& Base, bool bAllowInsecure, FQuarnError& OutError)
	{
		OutError = FQuarnError();
		const bool bInsecureAllowed = IsInsecureAllowed(bAllowInsecure);
		const FString Trimmed = Base.TrimStartAndEnd();
		if (Trimmed.IsEmpty())
		{
			// The hint is for players; which setting to fix is the code's advice, in the log.
			OutError = UQuarnErrorLibrary::MakePluginError(TEXT("no_base_address"), 0, TEXT("No platform address is set."));
			return false;
		}
		static const FString Https = TEXT("https://");
		static const FString Http = TEXT("http://");
		if (Trimmed.StartsWith(Https, ESearchCase::IgnoreCase))
		{
			if (!HostOf(Trimmed.RightChop(Https.Len())).IsEmpty())
			{
				return true;
			}
		}
		else if (Trimmed.StartsWith(Http, ESearchCase::IgnoreCase))
		{
			const FString Host = HostOf(Trimmed.RightChop(Http.Len()));
			if (!Host.IsEmpty())
			{
				if (bInsecureAllowed || IsLoopbackHost(Host))
				{
					return true;
				}
				OutError = UQuarnErrorLibrary::MakePluginError(TEXT("insecure_base_address"), 0,
					FString::Printf(TEXT("Refusing to send requests to %s over plain HTTP: access tokens would cross the network unencrypted."), *Host));
				return false;
			}
		}
		OutError = UQuarnErrorLibrary::MakePluginError(TEXT("invalid_base_address"), 0,
			FString::Printf(TEXT("The platform address '%s' is not an http or https URL with a host."), *Trimmed));
		return false;
	}

	FString Join(const FString& Base, const FString& Path)
	{
		FString Result = Base.TrimStartAndEnd();
		while (Result.EndsWith(TEXT("/")))
		{
			Result.LeftChopInline(1);
		}
		if (!Path.StartsWith(TEXT("/")))
		{
			Result.AppendChar(TEXT('/'));
		}
		return Result + Path;
	}
}
