// Copyright Quarn. All Rights Reserved.

// The checks every test of a raised error shares: its code is in the error library's table with
// the kind a game should act on, and neither its player text nor what a screen showing Hint, else
// Message, puts up carries the plug-in's advice to developers, which the developer's text keeps.
// Public so that the core's error tests and the test module's node cases check alike.

#pragma once

#include "CoreMinimal.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Misc/AutomationTest.h"
#include "QuarnErrorLibrary.h"

namespace QuarnTests
{
	/**
	 * Words for the game's developer: settings, nodes, options of the panel. None of them belongs
	 * on a player's screen.
	 */
	inline const TCHAR* const DeveloperWords[] = {
		TEXT("Project Settings"), TEXT("Base Url"), TEXT("Quarn SDK"), TEXT("Allow Insecure Http"), TEXT("Request Timeout"),
		TEXT("Quarn - "), TEXT("Velmora - "), TEXT("Authenticate Player"), TEXT("Load Stash"), TEXT("Use Game Session"),
		TEXT("Blueprint"), TEXT(" node"), TEXT("emulator"), TEXT("settings"),
	};

	/** The first developer word in Text, or null. */
	inline const TCHAR* FindDeveloperWord(const FString& Text)
	{
		for (const TCHAR* Word : DeveloperWords)
		{
			if (Text.Contains(Word, ESearchCase::IgnoreCase))
			{
				return Word;
			}
		}
		return nullptr;
	}

	/** Fails Test when Text would put a developer word before a player. */
	inline void ExpectNoDeveloperWords(FAutomationTestBase& Test, const FString& Label, const FString& Text)
	{
		const TCHAR* const Word = FindDeveloperWord(Text);
		if (Word != nullptr)
		{
			Test.AddError(FString::Printf(TEXT("%s puts \"%s\" before a player: %s"), *Label, Word, *Text));
		}
	}

	/** An error as the plug-in raised it, checked against the table and for what a player sees. */
	inline void ExpectKnownError(FAutomationTestBase& Test, const FQuarnError& Error, EQuarnErrorKind Kind, const TCHAR* What)
	{
		const FString Label = FString::Printf(TEXT("%s (%s)"), What, *Error.Code);
		Test.TestNotNull(*(Label + TEXT(" is in the table")), UQuarnErrorLibrary::FindCode(Error.Code));
		Test.TestEqual(*(Label + TEXT(" kind")), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(Error)), static_cast<int32>(Kind));
		const FString PlayerText = UQuarnErrorLibrary::GetPlayerText(Error).ToString();
		Test.TestFalse(*(Label + TEXT(" player text is not empty")), PlayerText.IsEmpty());
		ExpectNoDeveloperWords(Test, Label + TEXT(" player text"), PlayerText);
		// What a screen that follows the rule (the stash panel's status line) shows.
		ExpectNoDeveloperWords(Test, Label + TEXT(" hint, else message"), Error.Hint.IsEmpty() ? Error.Message : Error.Hint);
		// The advice is not lost: the developer's text carries it.
		const FString Advice = UQuarnErrorLibrary::GetDeveloperAdvice(Error);
		if (!Advice.IsEmpty())
		{
			Test.TestTrue(*(Label + TEXT(" developer text carries the advice")), UQuarnErrorLibrary::GetDeveloperText(Error).Contains(Advice, ESearchCase::CaseSensitive));
		}
	}
}

#endif // WITH_DEV_AUTOMATION_TESTS
