// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTypeTraits.h"
#include "Templates/TypeHash.h"
#include "Misc/UEOps.h"
#include "UObject/WeakObjectPtrTemplatesFwd.h"

// A weak pointer to a UObject. Written against FWeakObjectPtr, which CoreUObject defines; every use
// instantiates only once that type (and UObject) are complete.
template <class T, class TWeakObjectPtrBase>
struct TWeakObjectPtr : private TWeakObjectPtrBase
{
	template <class, class>
	friend struct TWeakObjectPtr;

	using ElementType = T;

	FORCEINLINE TWeakObjectPtr() = default;
	FORCEINLINE TWeakObjectPtr(const TWeakObjectPtr& Other) = default;
	FORCEINLINE TWeakObjectPtr& operator=(const TWeakObjectPtr& Other) = default;
	FORCEINLINE ~TWeakObjectPtr() = default;

	FORCEINLINE TWeakObjectPtr(TYPE_OF_NULLPTR) : TWeakObjectPtrBase(nullptr) {}

	template <typename U, std::enable_if_t<std::is_convertible_v<U*, T*>>* = nullptr>
	FORCEINLINE TWeakObjectPtr(U* Object) : TWeakObjectPtrBase(static_cast<const UObject*>(static_cast<const T*>(Object)))
	{
	}

	template <typename OtherT, std::enable_if_t<std::is_convertible_v<OtherT*, T*>>* = nullptr>
	FORCEINLINE TWeakObjectPtr(const TWeakObjectPtr<OtherT, TWeakObjectPtrBase>& Other) : TWeakObjectPtrBase(static_cast<const TWeakObjectPtrBase&>(Other))
	{
	}

	FORCEINLINE void Reset() { TWeakObjectPtrBase::Reset(); }

	template <typename U, std::enable_if_t<std::is_convertible_v<U*, T*>>* = nullptr>
	FORCEINLINE TWeakObjectPtr& operator=(U* Object)
	{
		TWeakObjectPtrBase::operator=(static_cast<const UObject*>(static_cast<const T*>(Object)));
		return *this;
	}

	FORCEINLINE TWeakObjectPtr& operator=(TYPE_OF_NULLPTR)
	{
		Reset();
		return *this;
	}

	template <typename OtherT, std::enable_if_t<std::is_convertible_v<OtherT*, T*>>* = nullptr>
	FORCEINLINE TWeakObjectPtr& operator=(const TWeakObjectPtr<OtherT, TWeakObjectPtrBase>& Other)
	{
		TWeakObjectPtrBase::operator=(static_cast<const TWeakObjectPtrBase&>(Other));
		return *this;
	}

	FORCEINLINE T* Get(bool bEvenIfPendingKill) const { return (T*)static_cast<T*>(TWeakObjectPtrBase::Get(bEvenIfPendingKill)); }
	FORCEINLINE T* Get() const { return (T*)static_cast<T*>(TWeakObjectPtrBase::Get()); }
	FORCEINLINE T& operator*() const { return *Get(); }
	FORCEINLINE T* operator->() const { return Get(); }

	FORCEINLINE bool IsValid(bool bEvenIfPendingKill, bool bThreadsafeTest = false) const { return TWeakObjectPtrBase::IsValid(bEvenIfPendingKill, bThreadsafeTest); }
	FORCEINLINE bool IsValid() const { return TWeakObjectPtrBase::IsValid(); }
	FORCEINLINE bool IsStale(bool bIncludingIfPendingKill = true, bool bThreadsafeTest = false) const { return TWeakObjectPtrBase::IsStale(bIncludingIfPendingKill, bThreadsafeTest); }

	// Deleted as in the engine: test with IsValid() or Get().
	explicit operator bool() const = delete;

	template <typename OtherT>
	FORCEINLINE bool HasSameIndexAndSerialNumber(const TWeakObjectPtr<OtherT, TWeakObjectPtrBase>& Other) const
	{
		return static_cast<const TWeakObjectPtrBase&>(*this).HasSameIndexAndSerialNumber(static_cast<const TWeakObjectPtrBase&>(Other));
	}

	FORCEINLINE friend uint32 GetTypeHash(const TWeakObjectPtr& WeakObjectPtr)
	{
		return GetTypeHash(static_cast<const TWeakObjectPtrBase&>(WeakObjectPtr));
	}

	// Equal when both would return the same object from Get(), so two pointers whose objects are
	// gone compare equal. == and != are the global operators of Misc/UEOps.h over these members.
	template <typename RhsT, typename = decltype((T*)nullptr == (RhsT*)nullptr)>
	[[nodiscard]] FORCENOINLINE bool UEOpEquals(const TWeakObjectPtr<RhsT, TWeakObjectPtrBase>& Rhs) const
	{
		return static_cast<const TWeakObjectPtrBase&>(*this) == static_cast<const TWeakObjectPtrBase&>(Rhs);
	}
	template <typename RhsT, typename = decltype((T*)nullptr == (RhsT*)nullptr)>
	[[nodiscard]] FORCENOINLINE bool UEOpEquals(const RhsT* Rhs) const
	{
		return Get() == Rhs;
	}
	[[nodiscard]] FORCENOINLINE bool UEOpEquals(TYPE_OF_NULLPTR) const { return !IsValid(); }
};

template <class T> struct TIsPODType<TWeakObjectPtr<T>> { enum { Value = true }; };
template <class T> struct TIsZeroConstructType<TWeakObjectPtr<T>> { enum { Value = true }; };
template <class T> struct TIsWeakPointerType<TWeakObjectPtr<T>> { enum { Value = true }; };

template <typename DestType, typename SourceType>
FORCEINLINE TWeakObjectPtr<DestType> MakeWeakObjectPtr(SourceType* Ptr)
{
	return TWeakObjectPtr<DestType>(Ptr);
}
