// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTemplate.h"
#include "Templates/Invoke.h"

// TFunction (copyable, owning), TUniqueFunction (move-only, owning) and TFunctionRef (non-owning).
// Owned callables live on the heap so that the wrappers stay bitwise relocatable in containers.

template <typename FuncType> class TFunction;
template <typename FuncType> class TUniqueFunction;
template <typename FuncType> class TFunctionRef;

namespace UE::Core::Private::Function
{
	template <typename Ret, typename... ParamTypes>
	struct IFunctionCallable
	{
		virtual ~IFunctionCallable() = default;
		virtual Ret Call(ParamTypes... Params) = 0;
		virtual IFunctionCallable* Clone() const = 0;
		virtual void* GetAddress() = 0;
	};

	template <typename FunctorType, typename Ret, typename... ParamTypes>
	struct TFunctionCallable final : IFunctionCallable<Ret, ParamTypes...>
	{
		template <typename ArgType>
		explicit TFunctionCallable(ArgType&& Arg) : Functor(Forward<ArgType>(Arg)) {}

		virtual Ret Call(ParamTypes... Params) override
		{
			if constexpr (std::is_void_v<Ret>)
			{
				::Invoke(Functor, Forward<ParamTypes>(Params)...);
			}
			else
			{
				return ::Invoke(Functor, Forward<ParamTypes>(Params)...);
			}
		}

		virtual IFunctionCallable<Ret, ParamTypes...>* Clone() const override
		{
			if constexpr (std::is_copy_constructible_v<FunctorType>)
			{
				return new TFunctionCallable(Functor);
			}
			else
			{
				checkf(false, TEXT("A move-only callable cannot be copied"));
				return nullptr;
			}
		}

		virtual void* GetAddress() override { return &Functor; }

		FunctorType Functor;
	};

	template <typename T> struct TIsTFunction { enum { Value = false }; };
	template <typename T> struct TIsTFunction<TFunction<T>> { enum { Value = true }; };
	template <typename T> struct TIsTFunction<TUniqueFunction<T>> { enum { Value = true }; };
	template <typename T> struct TIsTFunction<TFunctionRef<T>> { enum { Value = true }; };

	template <typename FunctorType>
	bool IsBoundFunctor(const FunctorType& Functor)
	{
		if constexpr (std::is_pointer_v<FunctorType> || std::is_member_pointer_v<FunctorType>)
		{
			return Functor != nullptr;
		}
		else if constexpr (TIsTFunction<FunctorType>::Value)
		{
			return (bool)Functor;
		}
		else
		{
			return true;
		}
	}

	template <typename Ret, typename... ParamTypes>
	class TFunctionBase
	{
	protected:
		using FCallable = IFunctionCallable<Ret, ParamTypes...>;

		TFunctionBase() : Callable(nullptr) {}

		template <typename FunctorType>
		void Bind(FunctorType&& Functor)
		{
			using DecayedType = std::decay_t<FunctorType>;
			if (IsBoundFunctor(Functor))
			{
				Callable = new TFunctionCallable<DecayedType, Ret, ParamTypes...>(Forward<FunctorType>(Functor));
			}
		}

		void ResetCallable()
		{
			FCallable* Old = Callable;
			Callable = nullptr;
			delete Old;
		}

		Ret CallChecked(ParamTypes... Params) const
		{
			checkf(Callable, TEXT("Attempting to call an unbound TFunction!"));
			return Callable->Call(Forward<ParamTypes>(Params)...);
		}

		FCallable* Callable;
	};
} // namespace UE::Core::Private::Function

template <typename Ret, typename... ParamTypes>
class TFunction<Ret(ParamTypes...)> : public UE::Core::Private::Function::TFunctionBase<Ret, ParamTypes...>
{
	using Super = UE::Core::Private::Function::TFunctionBase<Ret, ParamTypes...>;
	template <typename> friend class TUniqueFunction;

public:
	TFunction(TYPE_OF_NULLPTR = nullptr) {}

	template <typename FunctorType, std::enable_if_t<!std::is_same_v<std::decay_t<FunctorType>, TFunction> && std::is_invocable_v<std::decay_t<FunctorType>&, ParamTypes...> && (std::is_void_v<Ret> || std::is_convertible_v<std::invoke_result_t<std::decay_t<FunctorType>&, ParamTypes...>, Ret>)>* = nullptr>
	TFunction(FunctorType&& InFunc)
	{
		static_assert(std::is_copy_constructible_v<std::decay_t<FunctorType>>, "TFunction needs a copyable callable; use TUniqueFunction for move-only ones");
		this->Bind(Forward<FunctorType>(InFunc));
	}

	TFunction(const TFunction& Other)
	{
		this->Callable = Other.Callable ? Other.Callable->Clone() : nullptr;
	}
	TFunction(TFunction&& Other)
	{
		this->Callable = Other.Callable;
		Other.Callable = nullptr;
	}
	~TFunction() { this->ResetCallable(); }

	TFunction& operator=(const TFunction& Other)
	{
		if (this != &Other)
		{
			TFunction Temp(Other);
			Swap(this->Callable, Temp.Callable);
		}
		return *this;
	}
	TFunction& operator=(TFunction&& Other)
	{
		if (this != &Other)
		{
			this->ResetCallable();
			this->Callable = Other.Callable;
			Other.Callable = nullptr;
		}
		return *this;
	}
	TFunction& operator=(TYPE_OF_NULLPTR)
	{
		this->ResetCallable();
		return *this;
	}

	void Reset() { this->ResetCallable(); }

	Ret operator()(ParamTypes... Params) const
	{
		return this->CallChecked(Forward<ParamTypes>(Params)...);
	}

	explicit operator bool() const { return this->Callable != nullptr; }
	bool IsSet() const { return this->Callable != nullptr; }

	friend bool operator==(TYPE_OF_NULLPTR, const TFunction& Func) { return !Func; }
	friend bool operator==(const TFunction& Func, TYPE_OF_NULLPTR) { return !Func; }
	friend bool operator!=(TYPE_OF_NULLPTR, const TFunction& Func) { return (bool)Func; }
	friend bool operator!=(const TFunction& Func, TYPE_OF_NULLPTR) { return (bool)Func; }
};

template <typename Ret, typename... ParamTypes>
class TUniqueFunction<Ret(ParamTypes...)> : public UE::Core::Private::Function::TFunctionBase<Ret, ParamTypes...>
{
public:
	TUniqueFunction(TYPE_OF_NULLPTR = nullptr) {}

	template <typename FunctorType, std::enable_if_t<!std::is_same_v<std::decay_t<FunctorType>, TUniqueFunction> && !UE::Core::Private::Function::TIsTFunction<std::decay_t<FunctorType>>::Value && std::is_invocable_v<std::decay_t<FunctorType>&, ParamTypes...>>* = nullptr>
	TUniqueFunction(FunctorType&& InFunc)
	{
		this->Bind(Forward<FunctorType>(InFunc));
	}

	TUniqueFunction(TFunction<Ret(ParamTypes...)>&& Other)
	{
		this->Callable = Other.Callable;
		Other.Callable = nullptr;
	}
	TUniqueFunction(const TFunction<Ret(ParamTypes...)>& Other)
	{
		this->Callable = Other.Callable ? Other.Callable->Clone() : nullptr;
	}

	TUniqueFunction(TUniqueFunction&& Other)
	{
		this->Callable = Other.Callable;
		Other.Callable = nullptr;
	}
	TUniqueFunction(const TUniqueFunction&) = delete;
	TUniqueFunction& operator=(const TUniqueFunction&) = delete;
	~TUniqueFunction() { this->ResetCallable(); }

	TUniqueFunction& operator=(TUniqueFunction&& Other)
	{
		if (this != &Other)
		{
			this->ResetCallable();
			this->Callable = Other.Callable;
			Other.Callable = nullptr;
		}
		return *this;
	}
	TUniqueFunction& operator=(TYPE_OF_NULLPTR)
	{
		this->ResetCallable();
		return *this;
	}

	void Reset() { this->ResetCallable(); }

	Ret operator()(ParamTypes... Params) const
	{
		return this->CallChecked(Forward<ParamTypes>(Params)...);
	}

	explicit operator bool() const { return this->Callable != nullptr; }
	bool IsSet() const { return this->Callable != nullptr; }

	friend bool operator==(const TUniqueFunction& Func, TYPE_OF_NULLPTR) { return !Func; }
	friend bool operator!=(const TUniqueFunction& Func, TYPE_OF_NULLPTR) { return (bool)Func; }
};

template <typename Ret, typename... ParamTypes>
class TFunctionRef<Ret(ParamTypes...)>
{
public:
	template <typename FunctorType, std::enable_if_t<!std::is_same_v<std::decay_t<FunctorType>, TFunctionRef> && std::is_invocable_v<std::remove_reference_t<FunctorType>&, ParamTypes...>>* = nullptr>
	TFunctionRef(FunctorType&& InFunc UE_LIFETIMEBOUND)
	{
		checkf(UE::Core::Private::Function::IsBoundFunctor(InFunc), TEXT("Cannot bind a null callable to a TFunctionRef"));
		Ptr = (void*)&InFunc;
		Caller = &CallFunctor<std::remove_reference_t<FunctorType>>;
	}

	TFunctionRef(const TFunctionRef&) = default;
	TFunctionRef& operator=(const TFunctionRef&) = delete;

	Ret operator()(ParamTypes... Params) const
	{
		return Caller(Ptr, Forward<ParamTypes>(Params)...);
	}

private:
	template <typename FunctorType>
	static Ret CallFunctor(void* Obj, ParamTypes... Params)
	{
		if constexpr (std::is_void_v<Ret>)
		{
			::Invoke(*(FunctorType*)Obj, Forward<ParamTypes>(Params)...);
		}
		else
		{
			return ::Invoke(*(FunctorType*)Obj, Forward<ParamTypes>(Params)...);
		}
	}

	void* Ptr;
	Ret (*Caller)(void*, ParamTypes...);
};
