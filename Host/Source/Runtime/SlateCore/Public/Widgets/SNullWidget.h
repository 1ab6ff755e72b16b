// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

class SWidget;

/** The shared empty widget: no size, hidden, never mutated. Empty slots hold it. */
class SNullWidget
{
public:
	static SLATECORE_API TSharedRef<SWidget> NullWidget;
};
