// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/** Quarn.Sync.Status, registered while the adapter module runs. */
namespace QuarnSyncConsoleCommands
{
	void Register();
	void Unregister();
}
