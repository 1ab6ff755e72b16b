// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTemplate.h"
#include "Templates/TypeHash.h"

template <typename T>
struct TDefaultDelete
{
	TDefaultDelete() = default;
	template <typename U, std::enable_if_t<std::is_convertible_v<U*, T*>>* = nullptr>
	TDefaultDelete(const TDefaultDelete<U>&) {}
	void operator()(T* Ptr) const { delete Ptr; }
};

template <typename T>
struct TDefaultDelete<T[]>
{
	void operator()(T* Ptr) const { delete[] Ptr; }
};

// Sole owner of a heap object.
template <typename T, typename Deleter = TDefaultDelete<T>>
class TUniquePtr : private Deleter
{
	template <typename OtherT, typename OtherDeleter>
	friend class TUniquePtr;

public:
	using ElementType = T;

	TUniquePtr() : Ptr(nullptr) {}
	TUniquePtr(TYPE_OF_NULLPTR) : Ptr(nullptr) {}
	explicit TUniquePtr(T* InPtr) : Ptr(InPtr) {}
	TUniquePtr(T* InPtr, Deleter&& InDeleter) : Deleter(MoveTemp(InDeleter)), Ptr(InPtr) {}
	TUniquePtr(TUniquePtr&& Other) : Deleter(MoveTemp(Other.GetDeleter())), Ptr(Other.Ptr) { Other.Ptr = nullptr; }

	template <typename OtherT, typename OtherDeleter, std::enable_if_t<!std::is_array_v<OtherT> && std::is_convertible_v<OtherT*, T*>>* = nullptr>
	TUniquePtr(TUniquePtr<OtherT, OtherDeleter>&& Other)
		: Deleter(MoveTemp(Other.GetDeleter())), Ptr(Other.Ptr)
	{
		Other.Ptr = nullptr;
	}

	TUniquePtr(const TUniquePtr&) = delete;
	TUniquePtr& operator=(const TUniquePtr&) = delete;

	TUniquePtr& operator=(TUniquePtr&& Other)
	{
		if (this != &Other)
		{
			T* OldPtr = Ptr;
			Ptr = Other.Ptr;
			Other.Ptr = nullptr;
			GetDeleter() = MoveTemp(Other.GetDeleter());
			if (OldPtr)
			{
				GetDeleter()(OldPtr);
			}
		}
		return *this;
	}

	template <typename OtherT, typename OtherDeleter, std::enable_if_t<!std::is_array_v<OtherT> && std::is_convertible_v<OtherT*, T*>>* = nullptr>
	TUniquePtr& operator=(TUniquePtr<OtherT, OtherDeleter>&& Other)
	{
		T* OldPtr = Ptr;
		Ptr = Other.Ptr;
		Other.Ptr = nullptr;
		GetDeleter() = MoveTemp(Other.GetDeleter());
		if (OldPtr)
		{
			GetDeleter()(OldPtr);
		}
		return *this;
	}

	TUniquePtr& operator=(TYPE_OF_NULLPTR)
	{
		Reset();
		return *this;
	}

	~TUniquePtr()
	{
		if (Ptr)
		{
			GetDeleter()(Ptr);
		}
	}

	bool IsValid() const { return Ptr != nullptr; }
	explicit operator bool() const { return IsValid(); }
	T* operator->() const { return Ptr; }
	T& operator*() const { return *Ptr; }
	[[nodiscard]] T* Get() const { return Ptr; }

	[[nodiscard]] T* Release()
	{
		T* Result = Ptr;
		Ptr = nullptr;
		return Result;
	}

	void Reset(T* InPtr = nullptr)
	{
		if (Ptr != InPtr)
		{
			T* OldPtr = Ptr;
			Ptr = InPtr;
			if (OldPtr)
			{
				GetDeleter()(OldPtr);
			}
		}
	}

	Deleter& GetDeleter() { return static_cast<Deleter&>(*this); }
	const Deleter& GetDeleter() const { return static_cast<const Deleter&>(*this); }

	template <typename RhsT>
	bool operator==(const TUniquePtr<RhsT>& Rhs) const { return Get() == Rhs.Get(); }
	bool operator==(TYPE_OF_NULLPTR) const { return !IsValid(); }

	friend uint32 GetTypeHash(const TUniquePtr& P) { return GetTypeHash(P.Get()); }

private:
	T* Ptr;
};

template <typename T, typename Deleter>
class TUniquePtr<T[], Deleter> : private Deleter
{
public:
	TUniquePtr() : Ptr(nullptr) {}
	TUniquePtr(TYPE_OF_NULLPTR) : Ptr(nullptr) {}
	explicit TUniquePtr(T* InPtr) : Ptr(InPtr) {}
	TUniquePtr(TUniquePtr&& Other) : Ptr(Other.Ptr) { Other.Ptr = nullptr; }
	TUniquePtr(const TUniquePtr&) = delete;
	TUniquePtr& operator=(const TUniquePtr&) = delete;
	TUniquePtr& operator=(TUniquePtr&& Other)
	{
		if (this != &Other)
		{
			Reset(Other.Ptr);
			Other.Ptr = nullptr;
		}
		return *this;
	}
	~TUniquePtr() { Reset(); }

	bool IsValid() const { return Ptr != nullptr; }
	explicit operator bool() const { return IsValid(); }
	T& operator[](SIZE_T Index) const { return Ptr[Index]; }
	[[nodiscard]] T* Get() const { return Ptr; }
	[[nodiscard]] T* Release()
	{
		T* Result = Ptr;
		Ptr = nullptr;
		return Result;
	}
	void Reset(T* InPtr = nullptr)
	{
		if (Ptr != InPtr)
		{
			T* OldPtr = Ptr;
			Ptr = InPtr;
			if (OldPtr)
			{
				static_cast<Deleter&>(*this)(OldPtr);
			}
		}
	}

private:
	T* Ptr;
};

template <typename T, typename... TArgs>
FORCEINLINE std::enable_if_t<!std::is_array_v<T>, TUniquePtr<T>> MakeUnique(TArgs&&... Args)
{
	return TUniquePtr<T>(new T(Forward<TArgs>(Args)...));
}

template <typename T>
FORCEINLINE std::enable_if_t<std::is_array_v<T>, TUniquePtr<T>> MakeUnique(SIZE_T Size)
{
	using ElementType = std::remove_extent_t<T>;
	return TUniquePtr<T>(new ElementType[Size]());
}

template <typename T> struct TIsTUniquePtr { enum { Value = false }; };
template <typename T> struct TIsTUniquePtr<TUniquePtr<T>> { enum { Value = true }; };
