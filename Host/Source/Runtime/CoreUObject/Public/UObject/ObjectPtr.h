// TObjectPtr: a reflected member's object reference. In a non-editor-handle build it is a plain
// pointer with the engine's interface; it keeps nothing alive unless it is a UPROPERTY.
#pragma once

#include "CoreMinimal.h"

class UObject;
class UClass;

template<typename T>
class TObjectPtr
{
public:
	using ElementType = T;

	TObjectPtr() : Pointer(nullptr) {}
	TObjectPtr(TYPE_OF_NULLPTR) : Pointer(nullptr) {}
	TObjectPtr(const TObjectPtr&) = default;
	TObjectPtr& operator=(const TObjectPtr&) = default;
	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TObjectPtr(const TObjectPtr<U>& Other) : Pointer(Other.Get()) {}
	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TObjectPtr(U* Object) : Pointer(Object) {}
	TObjectPtr(T& Object) : Pointer(&Object) {}

	TObjectPtr& operator=(TYPE_OF_NULLPTR) { Pointer = nullptr; return *this; }
	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TObjectPtr& operator=(U* Object) { Pointer = Object; return *this; }
	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TObjectPtr& operator=(const TObjectPtr<U>& Other) { Pointer = Other.Get(); return *this; }

	FORCEINLINE T* Get() const { return Pointer; }
	FORCEINLINE operator T*() const { return Pointer; }
	template<typename U, typename = decltype((U*)(T*)nullptr)>
	FORCEINLINE explicit operator U*() const { return (U*)Pointer; }
	FORCEINLINE T* operator->() const { return Pointer; }
	FORCEINLINE T& operator*() const { return *Pointer; }
	FORCEINLINE explicit operator bool() const { return Pointer != nullptr; }
	FORCEINLINE bool operator!() const { return Pointer == nullptr; }

	template<typename U>
	FORCEINLINE bool operator==(const TObjectPtr<U>& Other) const { return Pointer == Other.Get(); }
	template<typename U>
	FORCEINLINE bool operator!=(const TObjectPtr<U>& Other) const { return Pointer != Other.Get(); }
	template<typename U>
	FORCEINLINE bool operator==(U* Other) const { return Pointer == Other; }
	template<typename U>
	FORCEINLINE bool operator!=(U* Other) const { return Pointer != Other; }
	FORCEINLINE bool operator==(TYPE_OF_NULLPTR) const { return Pointer == nullptr; }
	FORCEINLINE bool operator!=(TYPE_OF_NULLPTR) const { return Pointer != nullptr; }

	FString GetName() const { return Pointer ? Pointer->GetName() : FString(TEXT("None")); }
	FName GetFName() const { return Pointer ? Pointer->GetFName() : NAME_None; }
	FString GetPathName() const { return Pointer ? Pointer->GetPathName() : FString(TEXT("None")); }
	UClass* GetClass() const { return Pointer ? Pointer->GetClass() : nullptr; }
	template<typename U>
	bool IsA() const { return Pointer && Pointer->template IsA<U>(); }

	friend uint32 GetTypeHash(const TObjectPtr& Ptr) { return ::GetTypeHash((const void*)Ptr.Pointer); }

private:
	T* Pointer;
};

template<typename T, typename U>
FORCEINLINE bool operator==(U* Lhs, const TObjectPtr<T>& Rhs) { return Rhs == Lhs; }
template<typename T, typename U>
FORCEINLINE bool operator!=(U* Lhs, const TObjectPtr<T>& Rhs) { return Rhs != Lhs; }

template<typename T>
FORCEINLINE T* ToRawPtr(const TObjectPtr<T>& Ptr) { return Ptr.Get(); }
template<typename T>
FORCEINLINE TObjectPtr<T> ToObjectPtr(T* Obj) { return TObjectPtr<T>(Obj); }

template<typename T>
struct TIsTObjectPtr
{
	enum { Value = false };
};
template<typename T>
struct TIsTObjectPtr<TObjectPtr<T>>
{
	enum { Value = true };
};

static_assert(sizeof(TObjectPtr<UObject>) == sizeof(UObject*), "Reflection reads TObjectPtr members as raw pointers");
