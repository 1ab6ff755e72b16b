// Mark and sweep: what keeps objects alive, what does not, and what collection does to them.
#include "TestSupport.h"
#include "UObject/GCObject.h"
#include "UObject/StrongObjectPtr.h"
#include "Host/DestroyLog.h"
#include "UObject/GarbageCollection.h"

namespace
{
	void Collect()
	{
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}

	class FTestReferencer : public FGCObject
	{
	public:
		TObjectPtr<UObject> Held;
		virtual void AddReferencedObjects(FReferenceCollector& Collector) override { Collector.AddReferencedObject(Held); }
		virtual FString GetReferencerName() const override { return TEXT("FTestReferencer"); }
	};
}

TEST(HostCoreUObjectGarbageCollection, UnreferencedObjectIsCollectedAndWeakPointersGoNull)
{
	TWeakObjectPtr<UReflectionTestObject> Weak(NewObject<UReflectionTestObject>());
	ASSERT_TRUE(Weak.IsValid());
	Collect();
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_EQ(Weak.Get(), nullptr);
	EXPECT_TRUE(Weak.IsStale());
}

TEST(HostCoreUObjectGarbageCollection, RootedObjectsAndWhatTheyReferenceSurvive)
{
	UReflectionTestObject* Root = NewObject<UReflectionTestObject>();
	Root->AddToRoot();
	TWeakObjectPtr<UObject> Raw(Root->RawRef = NewObject<UReflectionTestObject>());
	Root->PtrRef = NewObject<UReflectionTestObject>();
	TWeakObjectPtr<UObject> Ptr(Root->PtrRef.Get());
	Collect();
	EXPECT_TRUE(Raw.IsValid());
	EXPECT_TRUE(Ptr.IsValid());
	Root->RemoveFromRoot();
	Collect();
	EXPECT_FALSE(Raw.IsValid());
	EXPECT_FALSE(Ptr.IsValid());
}

TEST(HostCoreUObjectGarbageCollection, ContainersAndStructsKeepTheirObjectsAlive)
{
	UReflectionTestObject* Root = NewObject<UReflectionTestObject>();
	Root->AddToRoot();
	TWeakObjectPtr<UObject> InArray(NewObject<UReflectionTestObject>());
	TWeakObjectPtr<UObject> InMap(NewObject<UReflectionTestObject>());
	TWeakObjectPtr<UObject> InSet(NewObject<UReflectionTestObject>());
	TWeakObjectPtr<UObject> InStruct(NewObject<UReflectionTestObject>());
	TWeakObjectPtr<UObject> InNested(NewObject<UReflectionTestObject>());
	Root->ArrayRefs.Add(InArray.Get());
	Root->MapRefs.Add(TEXT("Key"), InMap.Get());
	Root->SetRefs.Add(InSet.Get());
	Root->Item.Owner = InStruct.Get();
	FTestItem Nested;
	Nested.Owner = InNested.Get();
	Root->Bag.Items.Add(Nested);
	Collect();
	EXPECT_TRUE(InArray.IsValid());
	EXPECT_TRUE(InMap.IsValid());
	EXPECT_TRUE(InSet.IsValid());
	EXPECT_TRUE(InStruct.IsValid());
	EXPECT_TRUE(InNested.IsValid());
	Root->RemoveFromRoot();
	Collect();
	EXPECT_FALSE(InArray.IsValid());
	EXPECT_FALSE(InMap.IsValid());
	EXPECT_FALSE(InSet.IsValid());
	EXPECT_FALSE(InStruct.IsValid());
	EXPECT_FALSE(InNested.IsValid());
}

TEST(HostCoreUObjectGarbageCollection, UnreflectedAndWeakReferencesDoNotKeepObjectsAlive)
{
	UReflectionTestObject* Root = NewObject<UReflectionTestObject>();
	Root->AddToRoot();
	TWeakObjectPtr<UObject> Hidden(Root->HiddenRef = NewObject<UReflectionTestObject>());
	Root->WeakRef = NewObject<UReflectionTestObject>();
	TWeakObjectPtr<UObject> WeakTarget(Root->WeakRef.Get());
	Collect();
	EXPECT_FALSE(Hidden.IsValid());
	EXPECT_FALSE(WeakTarget.IsValid());
	EXPECT_FALSE(Root->WeakRef.IsValid());
	Root->HiddenRef = nullptr;
	Root->RemoveFromRoot();
}

TEST(HostCoreUObjectGarbageCollection, ReferencesToGarbageAreClearedAndTheObjectCollected)
{
	UReflectionTestObject* Root = NewObject<UReflectionTestObject>();
	Root->AddToRoot();
	UReflectionTestObject* Doomed = NewObject<UReflectionTestObject>();
	TWeakObjectPtr<UObject> Weak(Doomed);
	Root->PtrRef = Doomed;
	Root->ArrayRefs.Add(Doomed);
	Doomed->MarkAsGarbage();
	Collect();
	EXPECT_EQ(Root->PtrRef, nullptr);
	ASSERT_EQ(Root->ArrayRefs.Num(), 1);
	EXPECT_EQ(Root->ArrayRefs[0], nullptr);
	EXPECT_EQ(Weak.Get(true), nullptr);
	Root->RemoveFromRoot();
}

TEST(HostCoreUObjectGarbageCollection, AnInnerKeepsItsOuterAlive)
{
	UReflectionTestObject* Outer = NewObject<UReflectionTestObject>();
	UReflectionTestObject* Inner = NewObject<UReflectionTestObject>(Outer);
	TWeakObjectPtr<UObject> WeakOuter(Outer);
	Inner->AddToRoot();
	Collect();
	EXPECT_TRUE(WeakOuter.IsValid());
	Inner->RemoveFromRoot();
	Collect();
	EXPECT_FALSE(WeakOuter.IsValid());
}

TEST(HostCoreUObjectGarbageCollection, ReferencersStrongPointersAndClassHooksKeepObjectsAlive)
{
	FTestReferencer Referencer;
	Referencer.Held = NewObject<UReflectionTestObject>();
	TWeakObjectPtr<UObject> ByReferencer(Referencer.Held.Get());
	TStrongObjectPtr<UReflectionTestObject> Strong(NewObject<UReflectionTestObject>());
	TWeakObjectPtr<UObject> ByStrong(Strong.Get());
	UHookHolder* Holder = NewObject<UHookHolder>();
	Holder->AddToRoot();
	Holder->Held = NewObject<UReflectionTestObject>();
	TWeakObjectPtr<UObject> ByHook(Holder->Held);
	Collect();
	EXPECT_TRUE(ByReferencer.IsValid());
	EXPECT_TRUE(ByStrong.IsValid());
	EXPECT_TRUE(ByHook.IsValid());
	Referencer.Held = nullptr;
	Strong.Reset();
	Holder->Held = nullptr;
	Holder->RemoveFromRoot();
	Collect();
	EXPECT_FALSE(ByReferencer.IsValid());
	EXPECT_FALSE(ByStrong.IsValid());
	EXPECT_FALSE(ByHook.IsValid());
}

TEST(HostCoreUObjectGarbageCollection, EveryObjectBeginsDestroyBeforeAnyFinishes)
{
	Collect();
	UE::Host::Tests::TakeDestroyLog();
	NewObject<UReflectionTestObject>(GetTransientPackage(), TEXT("DestroyA"));
	NewObject<UReflectionTestObject>(GetTransientPackage(), TEXT("DestroyB"));
	Collect();
	TArray<FString> Log = UE::Host::Tests::TakeDestroyLog();
	ASSERT_EQ(Log.Num(), 4);
	EXPECT_TRUE(Log[0].EndsWith(TEXT(":BeginDestroy")));
	EXPECT_TRUE(Log[1].EndsWith(TEXT(":BeginDestroy")));
	EXPECT_TRUE(Log[2].EndsWith(TEXT(":FinishDestroy")));
	EXPECT_TRUE(Log[3].EndsWith(TEXT(":FinishDestroy")));
	// The names are free again once the objects are gone.
	EXPECT_EQ(FindObject<UReflectionTestObject>(GetTransientPackage(), TEXT("DestroyA")), nullptr);
}

TEST(HostCoreUObjectGarbageCollection, CollectionReturnsTheObjectCount)
{
	// The transient package is made on first use; make it before counting.
	GetTransientPackage();
	Collect();
	const int32 Before = GUObjectArray.GetObjectArrayNumMinusAvailable();
	for (int32 I = 0; I < 100; ++I)
	{
		NewObject<UReflectionTestObject>();
	}
	EXPECT_EQ(GUObjectArray.GetObjectArrayNumMinusAvailable(), Before + 100);
	Collect();
	EXPECT_EQ(GUObjectArray.GetObjectArrayNumMinusAvailable(), Before);
}

TEST(HostCoreUObjectGarbageCollection, AReusedSlotDoesNotReviveAWeakPointer)
{
	Collect();
	TWeakObjectPtr<UReflectionTestObject> Weak(NewObject<UReflectionTestObject>());
	const uint32 OldIndex = Weak.Get()->GetUniqueID();
	Collect();
	UReflectionTestObject* Replacement = NewObject<UReflectionTestObject>();
	EXPECT_EQ(Replacement->GetUniqueID(), OldIndex);
	EXPECT_EQ(Weak.Get(), nullptr);
	TWeakObjectPtr<UReflectionTestObject> Fresh(Replacement);
	EXPECT_EQ(Fresh.Get(), Replacement);
	EXPECT_FALSE(Weak == Fresh);
}

TEST(HostCoreUObjectGarbageCollection, ClassesAndDefaultObjectsAreNeverCollected)
{
	const UReflectionTestObject* Default = GetDefault<UReflectionTestObject>();
	TWeakObjectPtr<const UReflectionTestObject> Weak(Default);
	Collect();
	EXPECT_EQ(Weak.Get(), Default);
	EXPECT_EQ(GetTransientPackage()->IsRooted(), true);
}
