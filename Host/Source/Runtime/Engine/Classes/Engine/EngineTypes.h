// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "EngineTypes.generated.h"

/** Specifies why an actor is being deleted/removed from a level */
UENUM(BlueprintType)
namespace EEndPlayReason
{
	enum Type : int
	{
		/** When the Actor or Component is explicitly destroyed. */
		Destroyed,
		/** When the world is being unloaded for a level transition. */
		LevelTransition,
		/** When the world is being unloaded because PIE is ending. */
		EndPlayInEditor,
		/** When the level it is a member of is streamed out. */
		RemovedFromWorld,
		/** When the application is being exited. */
		Quit,
	};
}

/** Specifies the goal/source of a UWorld object */
namespace EWorldType
{
	enum Type
	{
		/** An untyped world, in most cases this will be the vestigial worlds of streamed in sub-levels */
		None,
		/** The game world */
		Game,
		/** A world being edited in the editor */
		Editor,
		/** A Play In Editor world */
		PIE,
		/** A preview world for an editor tool */
		EditorPreview,
		/** A preview world for a game */
		GamePreview,
		/** A minimal RPC world for a game */
		GameRPC,
		/** An editor world that was loaded but not currently being edited in the level editor */
		Inactive
	};
}
