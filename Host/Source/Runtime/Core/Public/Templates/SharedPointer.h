// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTemplate.h"
#include "Templates/TypeHash.h"
#include "Templates/SharedPointerFwd.h"
#include <atomic>

// Reference-counted shared ownership: TSharedRef (never null), TSharedPtr (nullable) and TWeakPtr.
// MakeShared allocates the object and its counts together.

namespace SharedPointerInternals
{
	template <ESPMode Mode>
	class TReferenceControllerBase
	{
		using RefCountType = std::conditional_t<Mode == ESPMode::ThreadSafe, std::atomic<int32>, int32>;

	public:
		TReferenceControllerBase() = default;
		TReferenceControllerBase(const TReferenceControllerBase&) = delete;
		TReferenceControllerBase& operator=(const TReferenceControllerBase&) = delete;
		virtual ~TReferenceControllerBase() = default;

		virtual void DestroyObject() = 0;

		int32 GetSharedReferenceCount() const
		{
			if constexpr (Mode == ESPMode::ThreadSafe)
			{
				return SharedReferenceCount.load(std::memory_order_relaxed);
			}
			else
			{
				return SharedReferenceCount;
			}
		}

		void AddSharedReference()
		{
			if constexpr (Mode == ESPMode::ThreadSafe)
			{
				SharedReferenceCount.fetch_add(1, std::memory_order_relaxed);
			}
			else
			{
				++SharedReferenceCount;
			}
		}

		// Adds a shared reference only if the object is still alive (TWeakPtr::Pin).
		bool ConditionallyAddSharedReference()
		{
			if constexpr (Mode == ESPMode::ThreadSafe)
			{
				int32 Count = SharedReferenceCount.load(std::memory_order_relaxed);
				do
				{
					if (Count == 0)
					{
						return false;
					}
				} while (!SharedReferenceCount.compare_exchange_weak(Count, Count + 1, std::memory_order_relaxed));
				return true;
			}
			else
			{
				if (SharedReferenceCount == 0)
				{
					return false;
				}
				++SharedReferenceCount;
				return true;
			}
		}

		void ReleaseSharedReference()
		{
			bool bLast;
			if constexpr (Mode == ESPMode::ThreadSafe)
			{
				bLast = SharedReferenceCount.fetch_sub(1, std::memory_order_acq_rel) == 1;
			}
			else
			{
				bLast = --SharedReferenceCount == 0;
			}
			if (bLast)
			{
				DestroyObject();
				ReleaseWeakReference();
			}
		}

		void AddWeakReference()
		{
			if constexpr (Mode == ESPMode::ThreadSafe)
			{
				WeakReferenceCount.fetch_add(1, std::memory_order_relaxed);
			}
			else
			{
				++WeakReferenceCount;
			}
		}

		void ReleaseWeakReference()
		{
			bool bLast;
			if constexpr (Mode == ESPMode::ThreadSafe)
			{
				bLast = WeakReferenceCount.fetch_sub(1, std::memory_order_acq_rel) == 1;
			}
			else
			{
				bLast = --WeakReferenceCount == 0;
			}
			if (bLast)
			{
				delete this;
			}
		}

	private:
		// The weak count holds one reference on behalf of all shared references.
		RefCountType SharedReferenceCount{ 1 };
		RefCountType WeakReferenceCount{ 1 };
	};

	template <typename ObjectType>
	struct DefaultDeleter
	{
		void operator()(ObjectType* Object) const { delete Object; }
	};

	template <ESPMode Mode, typename ObjectType, typename DeleterType>
	class TReferenceControllerWithDeleter final : public TReferenceControllerBase<Mode>
	{
	public:
		TReferenceControllerWithDeleter(ObjectType* InObject, DeleterType&& InDeleter)
			: Deleter(MoveTemp(InDeleter)), Object(InObject)
		{
		}
		virtual void DestroyObject() override
		{
			Deleter(Object);
		}

	private:
		DeleterType Deleter;
		ObjectType* Object;
	};

	template <ESPMode Mode, typename ObjectType>
	class TIntrusiveReferenceController final : public TReferenceControllerBase<Mode>
	{
	public:
		template <typename... ArgTypes>
		explicit TIntrusiveReferenceController(ArgTypes&&... Args)
		{
			new ((void*)&ObjectStorage) ObjectType(Forward<ArgTypes>(Args)...);
		}
		ObjectType* GetObjectPtr() const
		{
			return (ObjectType*)&ObjectStorage;
		}
		virtual void DestroyObject() override
		{
			GetObjectPtr()->~ObjectType();
		}

	private:
		alignas(ObjectType) mutable uint8 ObjectStorage[sizeof(ObjectType)];
	};

	template <class ObjectType>
	struct TRawPtrProxy
	{
		ObjectType* Object;
		explicit TRawPtrProxy(ObjectType* InObject) : Object(InObject) {}
	};

	template <class ObjectType, typename DeleterType>
	struct TRawPtrProxyWithDeleter
	{
		ObjectType* Object;
		DeleterType Deleter;
		TRawPtrProxyWithDeleter(ObjectType* InObject, DeleterType&& InDeleter) : Object(InObject), Deleter(MoveTemp(InDeleter)) {}
	};

	struct FStaticCastTag {};
	struct FConstCastTag {};
	struct FAdoptTag {};

	template <ESPMode Mode, typename ObjectType>
	TReferenceControllerBase<Mode>* NewDefaultReferenceController(ObjectType* Object)
	{
		return new TReferenceControllerWithDeleter<Mode, ObjectType, DefaultDeleter<ObjectType>>(Object, DefaultDeleter<ObjectType>());
	}

	// TSharedFromThis hook-up when a shared pointer first takes ownership of an object.
	template <class SharedPtrType, class ObjectType, class OtherType, ESPMode Mode>
	FORCEINLINE void EnableSharedFromThis(const SharedPtrType* InSharedPtr, const ObjectType* InObject, const TSharedFromThis<OtherType, Mode>* InShareable)
	{
		if (InShareable != nullptr)
		{
			InShareable->UpdateWeakReferenceInternal(InSharedPtr, const_cast<ObjectType*>(InObject));
		}
	}
	FORCEINLINE void EnableSharedFromThis(...) {}
} // namespace SharedPointerInternals

template <class ObjectType, ESPMode Mode>
class TSharedRef
{
	using FController = SharedPointerInternals::TReferenceControllerBase<Mode>;

public:
	using ElementType = ObjectType;
	static constexpr ESPMode SPMode = Mode;

	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	explicit TSharedRef(OtherType* InObject)
		: Object(InObject), Controller(SharedPointerInternals::NewDefaultReferenceController<Mode>(InObject))
	{
		checkf(InObject != nullptr, TEXT("A TSharedRef cannot be constructed from a null pointer"));
		SharedPointerInternals::EnableSharedFromThis(this, InObject, InObject);
	}

	template <typename OtherType, typename DeleterType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedRef(OtherType* InObject, DeleterType&& InDeleter)
		: Object(InObject), Controller(new SharedPointerInternals::TReferenceControllerWithDeleter<Mode, OtherType, std::decay_t<DeleterType>>(InObject, Forward<DeleterType>(InDeleter)))
	{
		checkf(InObject != nullptr, TEXT("A TSharedRef cannot be constructed from a null pointer"));
		SharedPointerInternals::EnableSharedFromThis(this, InObject, InObject);
	}

	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedRef(const SharedPointerInternals::TRawPtrProxy<OtherType>& Proxy)
		: Object(Proxy.Object), Controller(SharedPointerInternals::NewDefaultReferenceController<Mode>(Proxy.Object))
	{
		checkf(Proxy.Object != nullptr, TEXT("MakeShareable(nullptr) cannot be assigned to a TSharedRef"));
		SharedPointerInternals::EnableSharedFromThis(this, Proxy.Object, Proxy.Object);
	}

	template <typename OtherType, typename DeleterType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedRef(SharedPointerInternals::TRawPtrProxyWithDeleter<OtherType, DeleterType>&& Proxy)
		: Object(Proxy.Object), Controller(new SharedPointerInternals::TReferenceControllerWithDeleter<Mode, OtherType, DeleterType>(Proxy.Object, MoveTemp(Proxy.Deleter)))
	{
		checkf(Proxy.Object != nullptr, TEXT("MakeShareable(nullptr) cannot be assigned to a TSharedRef"));
		SharedPointerInternals::EnableSharedFromThis(this, Proxy.Object, Proxy.Object);
	}

	TSharedRef(const TSharedRef& Other) : Object(Other.Object), Controller(Other.Controller) { Controller->AddSharedReference(); }
	TSharedRef(TSharedRef&& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		// A moved-from ref must stay valid, so a move is a copy.
		Controller->AddSharedReference();
	}

	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedRef(const TSharedRef<OtherType, Mode>& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		Controller->AddSharedReference();
	}

	// Aliasing: shares Other's ownership while pointing at InObject.
	template <typename OtherType>
	TSharedRef(const TSharedRef<OtherType, Mode>& OtherSharedRef, ObjectType* InObject)
		: Object(InObject), Controller(OtherSharedRef.Controller)
	{
		checkf(InObject != nullptr, TEXT("A TSharedRef cannot alias a null pointer"));
		Controller->AddSharedReference();
	}

	~TSharedRef() { Controller->ReleaseSharedReference(); }

	TSharedRef& operator=(const TSharedRef& Other)
	{
		TSharedRef Temp(Other);
		Swap(Object, Temp.Object);
		Swap(Controller, Temp.Controller);
		return *this;
	}
	TSharedRef& operator=(TSharedRef&& Other)
	{
		return *this = static_cast<const TSharedRef&>(Other);
	}

	template <typename OtherType>
	TSharedRef& operator=(const SharedPointerInternals::TRawPtrProxy<OtherType>& Proxy)
	{
		return *this = TSharedRef(Proxy);
	}

	TSharedPtr<ObjectType, Mode> ToSharedPtr() const { return TSharedPtr<ObjectType, Mode>(*this); }
	TWeakPtr<ObjectType, Mode> ToWeakPtr() const { return TWeakPtr<ObjectType, Mode>(*this); }

	ObjectType& Get() const { return *Object; }
	ObjectType& operator*() const { return *Object; }
	ObjectType* operator->() const { return Object; }
	int32 GetSharedReferenceCount() const { return Controller->GetSharedReferenceCount(); }
	bool IsUnique() const { return GetSharedReferenceCount() == 1; }
	bool IsValid() const { return true; }

	template <typename OtherType>
	bool operator==(const TSharedRef<OtherType, Mode>& Other) const { return Object == Other.Object; }
	template <typename OtherType>
	bool operator!=(const TSharedRef<OtherType, Mode>& Other) const { return Object != Other.Object; }

	friend uint32 GetTypeHash(const TSharedRef& Ref) { return ::PointerHash(Ref.Object); }

private:
	template <class OtherType, ESPMode OtherMode> friend class TSharedRef;
	template <class OtherType, ESPMode OtherMode> friend class TSharedPtr;
	template <class OtherType, ESPMode OtherMode> friend class TWeakPtr;
	template <class OtherType, ESPMode OtherMode> friend class TSharedFromThis;
	template <typename InObjectType, ESPMode InMode, typename... InArgTypes>
	friend TSharedRef<InObjectType, InMode> MakeShared(InArgTypes&&... Args);

	// Adopts one shared reference already counted by the caller.
	TSharedRef(ObjectType* InObject, FController* InController, SharedPointerInternals::FAdoptTag) : Object(InObject), Controller(InController) {}

	template <typename OtherType>
	TSharedRef(const TSharedRef<OtherType, Mode>& Other, SharedPointerInternals::FStaticCastTag)
		: Object(static_cast<ObjectType*>(Other.Object)), Controller(Other.Controller)
	{
		Controller->AddSharedReference();
	}
	template <typename OtherType>
	TSharedRef(const TSharedRef<OtherType, Mode>& Other, SharedPointerInternals::FConstCastTag)
		: Object(const_cast<ObjectType*>(Other.Object)), Controller(Other.Controller)
	{
		Controller->AddSharedReference();
	}

	template <class CastTo, class CastFrom, ESPMode M>
	friend TSharedRef<CastTo, M> StaticCastSharedRef(const TSharedRef<CastFrom, M>& InSharedRef);
	template <class CastTo, class CastFrom, ESPMode M>
	friend TSharedRef<CastTo, M> ConstCastSharedRef(const TSharedRef<CastFrom, M>& InSharedRef);

	ObjectType* Object;
	FController* Controller;
};

template <class ObjectType, ESPMode Mode>
class TSharedPtr
{
	using FController = SharedPointerInternals::TReferenceControllerBase<Mode>;

public:
	using ElementType = ObjectType;
	static constexpr ESPMode SPMode = Mode;

	TSharedPtr() : Object(nullptr), Controller(nullptr) {}
	TSharedPtr(TYPE_OF_NULLPTR) : Object(nullptr), Controller(nullptr) {}

	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	explicit TSharedPtr(OtherType* InObject)
		: Object(InObject), Controller(InObject ? SharedPointerInternals::NewDefaultReferenceController<Mode>(InObject) : nullptr)
	{
		SharedPointerInternals::EnableSharedFromThis(this, InObject, InObject);
	}

	template <typename OtherType, typename DeleterType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedPtr(OtherType* InObject, DeleterType&& InDeleter)
		: Object(InObject), Controller(InObject ? new SharedPointerInternals::TReferenceControllerWithDeleter<Mode, OtherType, std::decay_t<DeleterType>>(InObject, Forward<DeleterType>(InDeleter)) : nullptr)
	{
		SharedPointerInternals::EnableSharedFromThis(this, InObject, InObject);
	}

	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedPtr(const SharedPointerInternals::TRawPtrProxy<OtherType>& Proxy)
		: Object(Proxy.Object), Controller(Proxy.Object ? SharedPointerInternals::NewDefaultReferenceController<Mode>(Proxy.Object) : nullptr)
	{
		SharedPointerInternals::EnableSharedFromThis(this, Proxy.Object, Proxy.Object);
	}

	template <typename OtherType, typename DeleterType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedPtr(SharedPointerInternals::TRawPtrProxyWithDeleter<OtherType, DeleterType>&& Proxy)
		: Object(Proxy.Object), Controller(Proxy.Object ? new SharedPointerInternals::TReferenceControllerWithDeleter<Mode, OtherType, DeleterType>(Proxy.Object, MoveTemp(Proxy.Deleter)) : nullptr)
	{
		SharedPointerInternals::EnableSharedFromThis(this, Proxy.Object, Proxy.Object);
	}

	TSharedPtr(const TSharedPtr& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		if (Controller)
		{
			Controller->AddSharedReference();
		}
	}
	TSharedPtr(TSharedPtr&& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		Other.Object = nullptr;
		Other.Controller = nullptr;
	}

	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedPtr(const TSharedPtr<OtherType, Mode>& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		if (Controller)
		{
			Controller->AddSharedReference();
		}
	}
	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedPtr(TSharedPtr<OtherType, Mode>&& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		Other.Object = nullptr;
		Other.Controller = nullptr;
	}

	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TSharedPtr(const TSharedRef<OtherType, Mode>& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		Controller->AddSharedReference();
	}

	template <typename OtherType>
	TSharedPtr(const TSharedPtr<OtherType, Mode>& OtherSharedPtr, ObjectType* InObject)
		: Object(InObject), Controller(OtherSharedPtr.Controller)
	{
		if (Controller)
		{
			Controller->AddSharedReference();
		}
	}

	template <typename OtherType>
	TSharedPtr(const TSharedRef<OtherType, Mode>& OtherSharedRef, ObjectType* InObject)
		: Object(InObject), Controller(OtherSharedRef.Controller)
	{
		Controller->AddSharedReference();
	}

	~TSharedPtr()
	{
		if (Controller)
		{
			Controller->ReleaseSharedReference();
		}
	}

	TSharedPtr& operator=(TYPE_OF_NULLPTR)
	{
		Reset();
		return *this;
	}
	TSharedPtr& operator=(const TSharedPtr& Other)
	{
		TSharedPtr Temp(Other);
		Swap(Object, Temp.Object);
		Swap(Controller, Temp.Controller);
		return *this;
	}
	TSharedPtr& operator=(TSharedPtr&& Other)
	{
		if (this != &Other)
		{
			TSharedPtr Temp(MoveTemp(Other));
			Swap(Object, Temp.Object);
			Swap(Controller, Temp.Controller);
		}
		return *this;
	}
	template <typename OtherType>
	TSharedPtr& operator=(const SharedPointerInternals::TRawPtrProxy<OtherType>& Proxy)
	{
		return *this = TSharedPtr(Proxy);
	}

	TSharedRef<ObjectType, Mode> ToSharedRef() const&
	{
		checkf(IsValid(), TEXT("ToSharedRef() called on a null TSharedPtr"));
		Controller->AddSharedReference();
		return TSharedRef<ObjectType, Mode>(Object, Controller, SharedPointerInternals::FAdoptTag());
	}
	TSharedRef<ObjectType, Mode> ToSharedRef() &&
	{
		checkf(IsValid(), TEXT("ToSharedRef() called on a null TSharedPtr"));
		FController* OldController = Controller;
		ObjectType* OldObject = Object;
		Object = nullptr;
		Controller = nullptr;
		return TSharedRef<ObjectType, Mode>(OldObject, OldController, SharedPointerInternals::FAdoptTag());
	}
	TWeakPtr<ObjectType, Mode> ToWeakPtr() const { return TWeakPtr<ObjectType, Mode>(*this); }

	ObjectType* Get() const { return Object; }
	explicit operator bool() const { return Object != nullptr; }
	bool IsValid() const { return Object != nullptr; }
	ObjectType& operator*() const
	{
		check(IsValid());
		return *Object;
	}
	ObjectType* operator->() const
	{
		check(IsValid());
		return Object;
	}
	void Reset() { *this = TSharedPtr(); }
	int32 GetSharedReferenceCount() const { return Controller ? Controller->GetSharedReferenceCount() : 0; }
	bool IsUnique() const { return GetSharedReferenceCount() == 1; }

	friend uint32 GetTypeHash(const TSharedPtr& Ptr) { return ::PointerHash(Ptr.Object); }

private:
	template <class OtherType, ESPMode OtherMode> friend class TSharedRef;
	template <class OtherType, ESPMode OtherMode> friend class TSharedPtr;
	template <class OtherType, ESPMode OtherMode> friend class TWeakPtr;
	template <class OtherType, ESPMode OtherMode> friend class TSharedFromThis;

	TSharedPtr(ObjectType* InObject, FController* InController, SharedPointerInternals::FAdoptTag) : Object(InObject), Controller(InController) {}

	template <class CastTo, class CastFrom, ESPMode M>
	friend TSharedPtr<CastTo, M> StaticCastSharedPtr(const TSharedPtr<CastFrom, M>& InSharedPtr);
	template <class CastTo, class CastFrom, ESPMode M>
	friend TSharedPtr<CastTo, M> ConstCastSharedPtr(const TSharedPtr<CastFrom, M>& InSharedPtr);

	ObjectType* Object;
	FController* Controller;
};

template <class ObjectType, ESPMode Mode>
class TWeakPtr
{
	using FController = SharedPointerInternals::TReferenceControllerBase<Mode>;

public:
	using ElementType = ObjectType;

	TWeakPtr() : Object(nullptr), Controller(nullptr) {}
	TWeakPtr(TYPE_OF_NULLPTR) : Object(nullptr), Controller(nullptr) {}

	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TWeakPtr(const TSharedRef<OtherType, Mode>& Ref) : Object(Ref.Object), Controller(Ref.Controller)
	{
		Controller->AddWeakReference();
	}
	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TWeakPtr(const TSharedPtr<OtherType, Mode>& Ptr) : Object(Ptr.Object), Controller(Ptr.Controller)
	{
		if (Controller)
		{
			Controller->AddWeakReference();
		}
	}
	TWeakPtr(const TWeakPtr& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		if (Controller)
		{
			Controller->AddWeakReference();
		}
	}
	TWeakPtr(TWeakPtr&& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		Other.Object = nullptr;
		Other.Controller = nullptr;
	}
	template <typename OtherType, std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>* = nullptr>
	TWeakPtr(const TWeakPtr<OtherType, Mode>& Other) : Object(Other.Object), Controller(Other.Controller)
	{
		if (Controller)
		{
			Controller->AddWeakReference();
		}
	}

	~TWeakPtr()
	{
		if (Controller)
		{
			Controller->ReleaseWeakReference();
		}
	}

	TWeakPtr& operator=(const TWeakPtr& Other)
	{
		TWeakPtr Temp(Other);
		Swap(Object, Temp.Object);
		Swap(Controller, Temp.Controller);
		return *this;
	}
	TWeakPtr& operator=(TWeakPtr&& Other)
	{
		if (this != &Other)
		{
			TWeakPtr Temp(MoveTemp(Other));
			Swap(Object, Temp.Object);
			Swap(Controller, Temp.Controller);
		}
		return *this;
	}
	TWeakPtr& operator=(TYPE_OF_NULLPTR)
	{
		Reset();
		return *this;
	}

	TSharedPtr<ObjectType, Mode> Pin() const&
	{
		if (Controller && Controller->ConditionallyAddSharedReference())
		{
			return TSharedPtr<ObjectType, Mode>(Object, Controller, SharedPointerInternals::FAdoptTag());
		}
		return TSharedPtr<ObjectType, Mode>();
	}

	bool IsValid() const { return Object != nullptr && Controller && Controller->GetSharedReferenceCount() > 0; }
	void Reset() { *this = TWeakPtr(); }

	template <typename OtherType>
	bool HasSameObject(OtherType* InOtherPtr) const
	{
		return Pin().Get() == InOtherPtr;
	}

	friend uint32 GetTypeHash(const TWeakPtr& Ptr) { return ::PointerHash(Ptr.Object); }

	template <typename OtherType>
	bool operator==(const TWeakPtr<OtherType, Mode>& Other) const { return Pin().Get() == Other.Pin().Get(); }
	bool operator==(TYPE_OF_NULLPTR) const { return !IsValid(); }

private:
	template <class OtherType, ESPMode OtherMode> friend class TWeakPtr;
	template <class OtherType, ESPMode OtherMode> friend class TSharedFromThis;

	ObjectType* Object;
	FController* Controller;
};

template <class ObjectType, ESPMode Mode>
class TSharedFromThis
{
public:
	TSharedRef<ObjectType, Mode> AsShared()
	{
		TSharedPtr<ObjectType, Mode> SharedThis(WeakThis.Pin());
		checkf(SharedThis.Get() == this, TEXT("AsShared() called on an object not owned by a shared pointer (or during its constructor or destructor)"));
		return MoveTemp(SharedThis).ToSharedRef();
	}
	TSharedRef<ObjectType const, Mode> AsShared() const
	{
		TSharedPtr<ObjectType const, Mode> SharedThis(WeakThis.Pin());
		checkf(SharedThis.Get() == this, TEXT("AsShared() called on an object not owned by a shared pointer (or during its constructor or destructor)"));
		return MoveTemp(SharedThis).ToSharedRef();
	}

	TWeakPtr<ObjectType, Mode> AsWeak() { return WeakThis; }
	TWeakPtr<const ObjectType, Mode> AsWeak() const { return WeakThis; }

	bool DoesSharedInstanceExist() const { return WeakThis.IsValid(); }

	// Called when a shared pointer first takes ownership of the object.
	template <class SharedPtrType, class OtherType>
	void UpdateWeakReferenceInternal(const SharedPtrType* InSharedPtr, OtherType* InObject) const
	{
		if (!WeakThis.IsValid())
		{
			WeakThis.Reset();
			WeakThis.Object = static_cast<ObjectType*>(InObject);
			WeakThis.Controller = InSharedPtr->Controller;
			WeakThis.Controller->AddWeakReference();
		}
	}

protected:
	TSharedFromThis() = default;
	TSharedFromThis(const TSharedFromThis&) {}
	TSharedFromThis& operator=(const TSharedFromThis&) { return *this; }
	~TSharedFromThis() = default;

	template <class OtherType>
	static TSharedRef<OtherType, Mode> SharedThis(OtherType* ThisPtr)
	{
		return StaticCastSharedRef<OtherType>(ThisPtr->AsShared());
	}
	template <class OtherType>
	static TSharedRef<OtherType const, Mode> SharedThis(const OtherType* ThisPtr)
	{
		return StaticCastSharedRef<OtherType const>(ThisPtr->AsShared());
	}

private:
	mutable TWeakPtr<ObjectType, Mode> WeakThis;
};

template <class ObjectType, ESPMode Mode>
inline bool operator==(const TSharedPtr<ObjectType, Mode>& Lhs, TYPE_OF_NULLPTR) { return !Lhs.IsValid(); }
template <class ObjectType, ESPMode Mode>
inline bool operator!=(const TSharedPtr<ObjectType, Mode>& Lhs, TYPE_OF_NULLPTR) { return Lhs.IsValid(); }
template <class A, class B, ESPMode Mode>
inline bool operator==(const TSharedPtr<A, Mode>& Lhs, const TSharedPtr<B, Mode>& Rhs) { return Lhs.Get() == Rhs.Get(); }
template <class A, class B, ESPMode Mode>
inline bool operator!=(const TSharedPtr<A, Mode>& Lhs, const TSharedPtr<B, Mode>& Rhs) { return Lhs.Get() != Rhs.Get(); }
template <class A, class B, ESPMode Mode>
inline bool operator==(const TSharedPtr<A, Mode>& Lhs, const TSharedRef<B, Mode>& Rhs) { return Lhs.Get() == &Rhs.Get(); }
template <class A, class B, ESPMode Mode>
inline bool operator==(const TSharedRef<A, Mode>& Lhs, const TSharedPtr<B, Mode>& Rhs) { return &Lhs.Get() == Rhs.Get(); }
template <class A, class B, ESPMode Mode>
inline bool operator!=(const TSharedPtr<A, Mode>& Lhs, const TSharedRef<B, Mode>& Rhs) { return Lhs.Get() != &Rhs.Get(); }
template <class A, class B, ESPMode Mode>
inline bool operator!=(const TSharedRef<A, Mode>& Lhs, const TSharedPtr<B, Mode>& Rhs) { return &Lhs.Get() != Rhs.Get(); }

template <class CastToType, class CastFromType, ESPMode Mode>
FORCEINLINE TSharedRef<CastToType, Mode> StaticCastSharedRef(const TSharedRef<CastFromType, Mode>& InSharedRef)
{
	return TSharedRef<CastToType, Mode>(InSharedRef, SharedPointerInternals::FStaticCastTag());
}

template <class CastToType, class CastFromType, ESPMode Mode>
FORCEINLINE TSharedRef<CastToType, Mode> ConstCastSharedRef(const TSharedRef<CastFromType, Mode>& InSharedRef)
{
	return TSharedRef<CastToType, Mode>(InSharedRef, SharedPointerInternals::FConstCastTag());
}

template <class CastToType, class CastFromType, ESPMode Mode>
FORCEINLINE TSharedPtr<CastToType, Mode> StaticCastSharedPtr(const TSharedPtr<CastFromType, Mode>& InSharedPtr)
{
	return TSharedPtr<CastToType, Mode>(InSharedPtr, static_cast<CastToType*>(InSharedPtr.Get()));
}

template <class CastToType, class CastFromType, ESPMode Mode>
FORCEINLINE TSharedPtr<CastToType, Mode> ConstCastSharedPtr(const TSharedPtr<CastFromType, Mode>& InSharedPtr)
{
	return TSharedPtr<CastToType, Mode>(InSharedPtr, const_cast<CastToType*>(InSharedPtr.Get()));
}

template <class CastToType, class CastFromType, ESPMode Mode>
FORCEINLINE TWeakPtr<CastToType, Mode> StaticCastWeakPtr(const TWeakPtr<CastFromType, Mode>& InWeakPtr)
{
	return TWeakPtr<CastToType, Mode>(StaticCastSharedPtr<CastToType>(InWeakPtr.Pin()));
}

template <class ObjectType>
FORCEINLINE SharedPointerInternals::TRawPtrProxy<ObjectType> MakeShareable(ObjectType* InObject)
{
	return SharedPointerInternals::TRawPtrProxy<ObjectType>(InObject);
}

template <class ObjectType, class DeleterType>
FORCEINLINE SharedPointerInternals::TRawPtrProxyWithDeleter<ObjectType, std::decay_t<DeleterType>> MakeShareable(ObjectType* InObject, DeleterType&& InDeleter)
{
	return SharedPointerInternals::TRawPtrProxyWithDeleter<ObjectType, std::decay_t<DeleterType>>(InObject, Forward<DeleterType>(InDeleter));
}

template <typename InObjectType, ESPMode InMode = ESPMode::ThreadSafe, typename... InArgTypes>
[[nodiscard]] FORCEINLINE TSharedRef<InObjectType, InMode> MakeShared(InArgTypes&&... Args)
{
	auto* Controller = new SharedPointerInternals::TIntrusiveReferenceController<InMode, InObjectType>(Forward<InArgTypes>(Args)...);
	TSharedRef<InObjectType, InMode> Result(Controller->GetObjectPtr(), Controller, SharedPointerInternals::FAdoptTag());
	SharedPointerInternals::EnableSharedFromThis(&Result, Result.Object, Result.Object);
	return Result;
}

template <typename T> struct TIsWeakPointerType<TWeakPtr<T>> { enum { Value = true }; };
template <typename T> struct TIsTSharedPtr { enum { Value = false }; };
template <typename T, ESPMode Mode> struct TIsTSharedPtr<TSharedPtr<T, Mode>> { enum { Value = true }; };
template <typename T> struct TIsTSharedRef { enum { Value = false }; };
template <typename T, ESPMode Mode> struct TIsTSharedRef<TSharedRef<T, Mode>> { enum { Value = true }; };
