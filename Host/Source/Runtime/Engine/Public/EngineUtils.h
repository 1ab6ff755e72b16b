// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"
#include "Engine/World.h"
#include "Engine/Level.h"
#include "GameFramework/Actor.h"

/** Type enum, used to represent the special-case iteration of actors. */
enum class EActorIteratorFlags
{
	AllActors = 0x00000000,
	OnlyActiveLevels = 0x00000001,
	OnlySelectedActors = 0x00000002,
	SkipPendingKill = 0x00000004,
};
ENUM_CLASS_FLAGS(EActorIteratorFlags)

/**
 * Template class used to filter actors by class, in the order they were added to the world's
 * level. Actors added while iterating are reached; destroyed ones are skipped.
 */
template <typename ActorType>
class TActorIterator
{
public:
	explicit TActorIterator(const UWorld* InWorld, TSubclassOf<ActorType> InClass = ActorType::StaticClass(),
		EActorIteratorFlags InFlags = EActorIteratorFlags::OnlyActiveLevels | EActorIteratorFlags::SkipPendingKill)
		: Level(InWorld ? InWorld->PersistentLevel.Get() : nullptr)
		, Class(InClass)
		, Flags(InFlags)
	{
		Advance();
	}

	explicit operator bool() const { return Current != nullptr; }
	ActorType* operator*() const { return Current; }
	ActorType* operator->() const { return Current; }

	TActorIterator& operator++()
	{
		Advance();
		return *this;
	}

private:
	void Advance()
	{
		Current = nullptr;
		if (!Level || !Class)
		{
			return;
		}
		while (++Index < Level->Actors.Num())
		{
			AActor* Actor = Level->Actors[Index];
			if (Actor == nullptr || !Actor->IsA(Class))
			{
				continue;
			}
			if (EnumHasAnyFlags(Flags, EActorIteratorFlags::SkipPendingKill) && !IsValid(Actor))
			{
				continue;
			}
			Current = static_cast<ActorType*>(Actor);
			return;
		}
	}

	ULevel* Level;
	UClass* Class;
	EActorIteratorFlags Flags;
	int32 Index = -1;
	ActorType* Current = nullptr;
};

/** Actor iterator over every actor of the world. */
class FActorIterator : public TActorIterator<AActor>
{
public:
	explicit FActorIterator(const UWorld* InWorld, EActorIteratorFlags InFlags = EActorIteratorFlags::OnlyActiveLevels | EActorIteratorFlags::SkipPendingKill)
		: TActorIterator<AActor>(InWorld, AActor::StaticClass(), InFlags)
	{
	}
};
