// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

/** What an entry of a test's execution log is. */
enum class EAutomationEventType : uint8
{
	Info,
	Warning,
	Error
};

/** One message a test reported, with the context (a Describe and It description) it was reported in. */
struct FAutomationEvent
{
	FAutomationEvent(EAutomationEventType InType, const FString& InMessage, const FString& InContext = FString())
		: Type(InType)
		, Message(InMessage)
		, Context(InContext)
	{
	}

	EAutomationEventType Type;
	FString Message;
	FString Context;
};

struct FAutomationExecutionEntry
{
	explicit FAutomationExecutionEntry(const FAutomationEvent& InEvent)
		: Event(InEvent)
	{
	}

	FAutomationEvent Event;
};
