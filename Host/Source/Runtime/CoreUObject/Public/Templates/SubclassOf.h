// TSubclassOf<T>: a class that is T or derives from it.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectPtr.h"

class UClass;

template<class T>
class TSubclassOf
{
public:
	using ElementType = T;

	TSubclassOf() = default;
	TSubclassOf(TYPE_OF_NULLPTR) {}
	TSubclassOf(UClass* From) : Class(From) {}
	template<class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TSubclassOf(const TSubclassOf<U>& From) : Class(From.Get()) {}
	TSubclassOf& operator=(UClass* From) { Class = From; return *this; }
	TSubclassOf& operator=(TYPE_OF_NULLPTR) { Class = nullptr; return *this; }
	template<class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TSubclassOf& operator=(const TSubclassOf<U>& From) { Class = From.Get(); return *this; }

	// The class, or null when it is not a T (checked each time, as the engine does).
	UClass* Get() const
	{
		UClass* Result = Class;
		if (!Result || !Result->IsChildOf(T::StaticClass()))
		{
			return nullptr;
		}
		return Result;
	}
	UClass* operator*() const { return Get(); }
	UClass* operator->() const { return Get(); }
	operator UClass*() const { return Get(); }
	T* GetDefaultObject() const
	{
		UClass* Result = Get();
		return Result ? (T*)Result->GetDefaultObject() : nullptr;
	}

	friend uint32 GetTypeHash(const TSubclassOf& Subclass) { return GetTypeHash(Subclass.Class); }

private:
	TObjectPtr<UClass> Class;
};
