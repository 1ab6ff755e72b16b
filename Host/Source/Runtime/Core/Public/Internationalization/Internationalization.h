// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Internationalization/Text.h"
#include "Internationalization/Culture.h"
#include "Internationalization/CulturePointer.h"

// Text literal macros; a file using LOCTEXT defines LOCTEXT_NAMESPACE after its includes (this
// header undefines it) and undefines it at its end.
#undef LOCTEXT_NAMESPACE

class CORE_API FInternationalization
{
public:
	static FInternationalization& Get();
	static bool IsAvailable() { return true; }
	bool IsInitialized() const { return true; }

	// Cultures are named as the engine names them ("en", "de", "en-US"); unknown names are refused.
	bool SetCurrentCulture(const FString& InCultureName);
	bool SetCurrentLanguage(const FString& InCultureName) { return SetCurrentCulture(InCultureName); }
	bool SetCurrentLocale(const FString& InCultureName) { return SetCurrentCulture(InCultureName); }
	bool SetCurrentLanguageAndLocale(const FString& InCultureName) { return SetCurrentCulture(InCultureName); }
	FCultureRef GetCurrentCulture() const;
	FCultureRef GetCurrentLanguage() const { return GetCurrentCulture(); }
	FCultureRef GetCurrentLocale() const { return GetCurrentCulture(); }
	FCulturePtr GetCulture(const FString& InCultureName);
	FCultureRef GetInvariantCulture() const;
	FCultureRef GetDefaultCulture() const;

	static FText ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(const TCHAR* InTextLiteral, const TCHAR* InNamespace, const TCHAR* InKey);

	struct FState;

private:
	FInternationalization();
	FState* State;
};

#define LOCTEXT(InKey, InTextLiteral) FInternationalization::ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(TEXT(InTextLiteral), TEXT(LOCTEXT_NAMESPACE), TEXT(InKey))
#define NSLOCTEXT(InNamespace, InKey, InTextLiteral) FInternationalization::ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(TEXT(InTextLiteral), TEXT(InNamespace), TEXT(InKey))
#define INVTEXT(InTextLiteral) FText::AsCultureInvariant(TEXT(InTextLiteral))
#define LOCGEN_NUMBER(InNum, InCulture) FText::AsNumber(InNum, nullptr, FInternationalization::Get().GetCulture(TEXT(InCulture)))
