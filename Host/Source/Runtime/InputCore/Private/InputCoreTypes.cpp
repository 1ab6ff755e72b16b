// Copyright Quarn. All Rights Reserved.

#include "InputCoreTypes.h"

const FKey EKeys::AnyKey(TEXT("AnyKey"));
const FKey EKeys::Invalid(NAME_None);

const FKey EKeys::LeftMouseButton(TEXT("LeftMouseButton"));
const FKey EKeys::RightMouseButton(TEXT("RightMouseButton"));
const FKey EKeys::MiddleMouseButton(TEXT("MiddleMouseButton"));
const FKey EKeys::ThumbMouseButton(TEXT("ThumbMouseButton"));
const FKey EKeys::ThumbMouseButton2(TEXT("ThumbMouseButton2"));
const FKey EKeys::MouseWheelAxis(TEXT("MouseWheelAxis"));

const FKey EKeys::Escape(TEXT("Escape"));
const FKey EKeys::Enter(TEXT("Enter"));
const FKey EKeys::SpaceBar(TEXT("SpaceBar"));

bool FKey::IsMouseButton() const
{
	return *this == EKeys::LeftMouseButton || *this == EKeys::RightMouseButton || *this == EKeys::MiddleMouseButton
		|| *this == EKeys::ThumbMouseButton || *this == EKeys::ThumbMouseButton2;
}

bool FKey::IsValid() const
{
	if (KeyName.IsNone())
	{
		return false;
	}
	const FKey* const Known[] = {&EKeys::AnyKey, &EKeys::LeftMouseButton, &EKeys::RightMouseButton, &EKeys::MiddleMouseButton,
		&EKeys::ThumbMouseButton, &EKeys::ThumbMouseButton2, &EKeys::MouseWheelAxis, &EKeys::Escape, &EKeys::Enter, &EKeys::SpaceBar};
	for (const FKey* Key : Known)
	{
		if (*Key == *this)
		{
			return true;
		}
	}
	return false;
}

FString FKey::ToString() const
{
	return KeyName.ToString();
}
