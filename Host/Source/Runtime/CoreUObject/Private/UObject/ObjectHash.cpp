// Name lookup (outer + name), and queries over all objects.
#include "UObject/UObjectHash.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/UObjectIterator.h"
#include "UObject/ObjectPrivate.h"

namespace
{
	/**
	 * Every object by outer and name: an open-addressed table of (hash, object) slots with linear
	 * probing, several objects per key allowed (an unreachable object and its successor may
	 * share a name until the collector frees the first). A slot keeps the key's hash, so a probe
	 * reads the objects only when the hashes agree: making a unique name asks for a name that is
	 * not there, and with tens of thousands of widgets that probe must not walk chains of
	 * elements through the cache. Nothing is allocated per object.
	 */
	class FObjectNameHash
	{
	public:
		void Add(UObjectBase* Object, const UObject* Outer, FName Name)
		{
			if ((Num + 1) * 2 > Slots.Num())
			{
				Rehash(Slots.Num() == 0 ? 1024 : Slots.Num() * 2);
			}
			Insert(KeyHash(Outer, Name), Object);
			++Num;
		}

		void Remove(UObjectBase* Object, const UObject* Outer, FName Name)
		{
			if (Num == 0)
			{
				return;
			}
			const uint32 Hash = KeyHash(Outer, Name);
			for (uint32 Position = Hash & Mask; Slots[Position].Object != nullptr; Position = (Position + 1) & Mask)
			{
				if (Slots[Position].Object == Object)
				{
					Erase(Position);
					--Num;
					return;
				}
			}
		}

		/** The first object under Outer and Name that Accept takes, in the order the objects were added. */
		template <typename FunctionType>
		UObject* FindFirst(const UObject* Outer, FName Name, FunctionType&& Accept) const
		{
			if (Num == 0)
			{
				return nullptr;
			}
			const uint32 Hash = KeyHash(Outer, Name);
			for (uint32 Position = Hash & Mask; Slots[Position].Object != nullptr; Position = (Position + 1) & Mask)
			{
				const FSlot& Slot = Slots[Position];
				if (Slot.Hash == Hash)
				{
					UObject* Object = (UObject*)Slot.Object;
					if (Object->GetOuter() == Outer && Object->GetFName() == Name && Accept(Object))
					{
						return Object;
					}
				}
			}
			return nullptr;
		}

	private:
		struct FSlot
		{
			UObjectBase* Object = nullptr;
			uint32 Hash = 0;
		};

		static uint32 KeyHash(const UObject* Outer, FName Name)
		{
			// Names made unique differ only by their number, so the combined hash is mixed once
			// more before its low bits pick a slot.
			uint32 Hash = HashCombine(GetTypeHash((const void*)Outer), GetTypeHash(Name));
			Hash ^= Hash >> 16;
			Hash *= 0x85EBCA6Bu;
			Hash ^= Hash >> 13;
			Hash *= 0xC2B2AE35u;
			Hash ^= Hash >> 16;
			return Hash;
		}

		void Insert(uint32 Hash, UObjectBase* Object)
		{
			uint32 Position = Hash & Mask;
			while (Slots[Position].Object != nullptr)
			{
				Position = (Position + 1) & Mask;
			}
			Slots[Position] = FSlot{Object, Hash};
		}

		/** Empties a slot and moves later slots of the same run back, so no probe stops short. */
		void Erase(uint32 Hole)
		{
			for (uint32 Position = (Hole + 1) & Mask; Slots[Position].Object != nullptr; Position = (Position + 1) & Mask)
			{
				const uint32 Home = Slots[Position].Hash & Mask;
				// The slot may fill the hole when its home is not inside (Hole, Position].
				const bool bHomeAfterHole = ((Position - Home) & Mask) < ((Position - Hole) & Mask);
				if (!bHomeAfterHole)
				{
					Slots[Hole] = Slots[Position];
					Hole = Position;
				}
			}
			Slots[Hole] = FSlot();
		}

		void Rehash(int32 NewCapacity)
		{
			TArray<FSlot> Old = MoveTemp(Slots);
			Slots.SetNum(NewCapacity);
			Mask = (uint32)NewCapacity - 1;
			for (const FSlot& Slot : Old)
			{
				if (Slot.Object != nullptr)
				{
					Insert(Slot.Hash, Slot.Object);
				}
			}
		}

		TArray<FSlot> Slots;
		uint32 Mask = 0;
		int32 Num = 0;
	};

	FObjectNameHash& GetHash()
	{
		static FObjectNameHash* Hash = new FObjectNameHash();
		return *Hash;
	}
}

namespace UE::CoreUObject::Private
{
	void HashObject(UObjectBase* Object)
	{
		HashObject(Object, Object->GetOuter(), Object->GetFName());
	}

	void HashObject(UObjectBase* Object, const UObject* Outer, FName Name)
	{
		GetHash().Add(Object, Outer, Name);
	}

	void UnhashObject(UObjectBase* Object)
	{
		GetHash().Remove(Object, Object->GetOuter(), Object->GetFName());
	}

	void SetObjectOuter(UObjectBase* Object, UObject* NewOuter)
	{
		UnhashObject(Object);
		UE_CoreUObject_Private_FObjectAccess::SetOuter(Object, NewOuter);
		HashObject(Object);
	}

	void SetObjectClass(UObjectBase* Object, UClass* NewClass)
	{
		UE_CoreUObject_Private_FObjectAccess::SetClass(Object, NewClass);
	}

	UObject* FindObjectFast(UObject* Outer, FName Name, const UClass* Class, bool bExactClass)
	{
		return GetHash().FindFirst(Outer, Name, [Class, bExactClass](UObject* Object)
		{
			if (Object->IsUnreachable())
			{
				return false;
			}
			return !Class || (bExactClass ? Object->GetClass() == Class : Object->IsA(Class));
		});
	}
}

void GetDerivedClasses(const UClass* ClassToLookFor, TArray<UClass*>& Results, bool bRecursive)
{
	for (TObjectIterator<UClass> It(RF_NoFlags); It; ++It)
	{
		UClass* Class = *It;
		if (Class == ClassToLookFor)
		{
			continue;
		}
		if (bRecursive ? Class->IsChildOf(ClassToLookFor) : Class->GetSuperClass() == ClassToLookFor)
		{
			Results.Add(Class);
		}
	}
}

void GetObjectsOfClass(const UClass* ClassToLookFor, TArray<UObject*>& Results, bool bIncludeDerivedClasses, EObjectFlags ExcludeFlags,
	EInternalObjectFlags ExclusionInternalFlags)
{
	for (FObjectIterator It(const_cast<UClass*>(ClassToLookFor), false, ExcludeFlags, ExclusionInternalFlags); It; ++It)
	{
		if (bIncludeDerivedClasses || It->GetClass() == ClassToLookFor)
		{
			Results.Add(*It);
		}
	}
}

void ForEachObjectWithOuter(const UObject* Outer, TFunctionRef<void(UObject*)> Operation, bool bIncludeNestedObjects, EObjectFlags ExclusionFlags,
	EInternalObjectFlags ExclusionInternalFlags)
{
	for (FObjectIterator It(UObject::StaticClass(), false, ExclusionFlags, ExclusionInternalFlags); It; ++It)
	{
		UObject* Object = *It;
		if (bIncludeNestedObjects ? (Object != Outer && Object->IsIn(Outer) && Outer) : Object->GetOuter() == Outer)
		{
			Operation(Object);
		}
	}
}

void GetObjectsWithOuter(const UObject* Outer, TArray<UObject*>& Results, bool bIncludeNestedObjects, EObjectFlags ExclusionFlags,
	EInternalObjectFlags ExclusionInternalFlags)
{
	ForEachObjectWithOuter(Outer, [&Results](UObject* Object) { Results.Add(Object); }, bIncludeNestedObjects, ExclusionFlags, ExclusionInternalFlags);
}
