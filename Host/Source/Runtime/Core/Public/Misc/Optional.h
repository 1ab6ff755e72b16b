// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTemplate.h"
#include "Templates/TypeHash.h"

struct FNullOpt
{
	explicit constexpr FNullOpt(int) {}
};
inline constexpr FNullOpt NullOpt{ 0 };

// A value that may be unset.
template <typename OptionalType>
struct TOptional
{
	using ElementType = OptionalType;

	constexpr TOptional() : bIsSet(false) {}
	constexpr TOptional(FNullOpt) : bIsSet(false) {}

	TOptional(const OptionalType& InValue) : bIsSet(false) { Emplace(InValue); }
	TOptional(OptionalType&& InValue) : bIsSet(false) { Emplace(MoveTempIfPossible(InValue)); }

	template <typename... ArgTypes>
	explicit TOptional(EInPlace, ArgTypes&&... Args) : bIsSet(false)
	{
		Emplace(Forward<ArgTypes>(Args)...);
	}

	TOptional(const TOptional& Other) : bIsSet(false)
	{
		if (Other.bIsSet)
		{
			Emplace(Other.GetValue());
		}
	}

	TOptional(TOptional&& Other) : bIsSet(false)
	{
		if (Other.bIsSet)
		{
			Emplace(MoveTempIfPossible(Other.GetValue()));
		}
	}

	~TOptional() { Reset(); }

	TOptional& operator=(const TOptional& Other)
	{
		if (&Other != this)
		{
			if (Other.bIsSet)
			{
				if (bIsSet)
				{
					GetValue() = Other.GetValue();
				}
				else
				{
					Emplace(Other.GetValue());
				}
			}
			else
			{
				Reset();
			}
		}
		return *this;
	}

	TOptional& operator=(TOptional&& Other)
	{
		if (&Other != this)
		{
			if (Other.bIsSet)
			{
				if (bIsSet)
				{
					GetValue() = MoveTempIfPossible(Other.GetValue());
				}
				else
				{
					Emplace(MoveTempIfPossible(Other.GetValue()));
				}
			}
			else
			{
				Reset();
			}
		}
		return *this;
	}

	TOptional& operator=(const OptionalType& InValue)
	{
		if (bIsSet)
		{
			GetValue() = InValue;
		}
		else
		{
			Emplace(InValue);
		}
		return *this;
	}

	TOptional& operator=(OptionalType&& InValue)
	{
		if (bIsSet)
		{
			GetValue() = MoveTempIfPossible(InValue);
		}
		else
		{
			Emplace(MoveTempIfPossible(InValue));
		}
		return *this;
	}

	void Reset()
	{
		if (bIsSet)
		{
			bIsSet = false;
			reinterpret_cast<OptionalType*>(Storage)->~OptionalType();
		}
	}

	template <typename... ArgTypes>
	OptionalType& Emplace(ArgTypes&&... Args)
	{
		Reset();
		OptionalType* Result = new (Storage) OptionalType(Forward<ArgTypes>(Args)...);
		bIsSet = true;
		return *Result;
	}

	bool IsSet() const { return bIsSet; }
	explicit operator bool() const { return bIsSet; }

	// Ref-qualified as the engine declares them: GetValue() on an rvalue optional moves the value out.
	[[nodiscard]] OptionalType& GetValue() &
	{
		checkf(IsSet(), TEXT("It is an error to call GetValue() on an unset TOptional. Please either check IsSet() or use Get(DefaultValue) instead."));
		return *reinterpret_cast<OptionalType*>(Storage);
	}
	[[nodiscard]] const OptionalType& GetValue() const&
	{
		checkf(IsSet(), TEXT("It is an error to call GetValue() on an unset TOptional. Please either check IsSet() or use Get(DefaultValue) instead."));
		return *reinterpret_cast<const OptionalType*>(Storage);
	}
	[[nodiscard]] OptionalType&& GetValue() &&
	{
		return MoveTempIfPossible(GetValue());
	}

	OptionalType* operator->() { return &GetValue(); }
	const OptionalType* operator->() const { return &GetValue(); }
	OptionalType& operator*() { return GetValue(); }
	const OptionalType& operator*() const { return GetValue(); }

	const OptionalType& Get(const OptionalType& DefaultValue) const UE_LIFETIMEBOUND
	{
		return IsSet() ? *reinterpret_cast<const OptionalType*>(Storage) : DefaultValue;
	}

	OptionalType* GetPtrOrNull() { return IsSet() ? reinterpret_cast<OptionalType*>(Storage) : nullptr; }
	const OptionalType* GetPtrOrNull() const { return IsSet() ? reinterpret_cast<const OptionalType*>(Storage) : nullptr; }

	friend bool operator==(const TOptional& Lhs, const TOptional& Rhs)
	{
		if (Lhs.bIsSet != Rhs.bIsSet)
		{
			return false;
		}
		return !Lhs.bIsSet || Lhs.GetValue() == Rhs.GetValue();
	}
	friend bool operator!=(const TOptional& Lhs, const TOptional& Rhs) { return !(Lhs == Rhs); }

	friend uint32 GetTypeHash(const TOptional& Optional)
	{
		return Optional.IsSet() ? GetTypeHash(*Optional) : 0;
	}

private:
	alignas(OptionalType) uint8 Storage[sizeof(OptionalType)];
	bool bIsSet;
};

template <typename T>
TOptional<std::decay_t<T>> MakeOptional(T&& Value)
{
	return TOptional<std::decay_t<T>>(Forward<T>(Value));
}

template <typename T> struct TIsTOptional { enum { Value = false }; };
template <typename T> struct TIsTOptional<TOptional<T>> { enum { Value = true }; };
