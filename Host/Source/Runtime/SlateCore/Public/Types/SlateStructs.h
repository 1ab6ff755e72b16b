// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/** A size that may be left unspecified (stored as -1, as in the engine). */
struct FOptionalSize
{
	FOptionalSize() : Size(Unspecified) {}
	FOptionalSize(const float SpecifiedSize) : Size(SpecifiedSize) {}

	bool IsSet() const { return Size != Unspecified; }
	float Get() const { return Size; }

	bool operator==(const FOptionalSize& Other) const { return Size == Other.Size; }
	bool operator!=(const FOptionalSize& Other) const { return Size != Other.Size; }

private:
	static constexpr float Unspecified = -1.0f;
	float Size;
};
