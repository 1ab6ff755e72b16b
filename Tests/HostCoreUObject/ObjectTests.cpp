// Object creation, names, outers, casts and class default objects.
#include "TestSupport.h"
#include "Templates/Casts.h"
#include "UObject/GarbageCollection.h"

TEST(HostCoreUObjectObjects, UnnamedObjectsGetClassNumberedNames)
{
	UReflectionTestObject* First = NewObject<UReflectionTestObject>();
	UReflectionTestObject* Second = NewObject<UReflectionTestObject>();
	EXPECT_EQ(Str(First->GetFName().GetPlainNameString()), "ReflectionTestObject");
	EXPECT_EQ(Second->GetFName().GetNumber(), First->GetFName().GetNumber() + 1);
	EXPECT_EQ(First->GetOuter(), GetTransientPackage());
	EXPECT_EQ(Str(First->GetPathName()), "/Engine/Transient." + Str(First->GetName()));
	EXPECT_EQ(Str(First->GetFullName()), "ReflectionTestObject /Engine/Transient." + Str(First->GetName()));
}

TEST(HostCoreUObjectObjects, NamedObjectsAreFoundByOuterAndByPath)
{
	UReflectionTestObject* Named = NewObject<UReflectionTestObject>(GetTransientPackage(), TEXT("FindMe"));
	EXPECT_EQ(Str(Named->GetName()), "FindMe");
	EXPECT_EQ(FindObject<UReflectionTestObject>(GetTransientPackage(), TEXT("FindMe")), Named);
	EXPECT_EQ(FindObject<UReflectionTestObject>(GetTransientPackage(), TEXT("findme")), Named);
	EXPECT_EQ(FindObject<UReflectionTestObject>(nullptr, TEXT("/Engine/Transient.FindMe")), Named);
	EXPECT_EQ(FindObject<UConfigTestSettings>(GetTransientPackage(), TEXT("FindMe")), nullptr);

	UReflectionTestObject* Child = NewObject<UReflectionTestObject>(Named, TEXT("Child"));
	// A subobject of a top-level object is separated by ':'.
	EXPECT_EQ(Str(Child->GetPathName()), "/Engine/Transient.FindMe:Child");
	EXPECT_EQ(FindObject<UReflectionTestObject>(nullptr, TEXT("/Engine/Transient.FindMe:Child")), Child);
	EXPECT_EQ(Child->GetTypedOuter<UReflectionTestObject>(), Named);
	EXPECT_EQ(Child->GetPackage(), GetTransientPackage());
	EXPECT_TRUE(Child->IsIn(Named));
	EXPECT_EQ(Child->GetWorld(), nullptr);
	Named->MarkAsGarbage();
	Child->MarkAsGarbage();
}

TEST(HostCoreUObjectObjects, MembersStartFromTheirInitialisersOrZero)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	EXPECT_EQ(Object->Count, 3);
	EXPECT_EQ(Object->Big, 0);
	EXPECT_EQ(Object->bFirstBit, 0);
	EXPECT_EQ(Object->Legacy, ETestLegacy::First);
	EXPECT_FALSE(Object->HasAnyFlags(RF_NeedInitialization | RF_ClassDefaultObject));
}

TEST(HostCoreUObjectObjects, CastsFollowTheClassHierarchy)
{
	UObject* Object = NewObject<UReflectionTestObject>();
	EXPECT_EQ(Cast<UReflectionTestObject>(Object), Object);
	EXPECT_EQ(Cast<UConfigTestSettings>(Object), nullptr);
	EXPECT_EQ(Cast<UReflectionTestObject>((UObject*)nullptr), nullptr);
	EXPECT_EQ(ExactCast<UReflectionTestObject>(Object), Object);
	EXPECT_EQ(ExactCast<UObject>(Object), nullptr);
	EXPECT_TRUE(Object->IsA<UObject>());
	EXPECT_TRUE(Object->IsA(UReflectionTestObject::StaticClass()));
	EXPECT_EQ(CastChecked<UReflectionTestObject>(Object), Object);
	TObjectPtr<UObject> Ptr = Object;
	EXPECT_EQ(Cast<UReflectionTestObject>(Ptr), Object);
	EXPECT_TRUE(Ptr == Object);
	EXPECT_FALSE(Ptr == nullptr);
}

TEST(HostCoreUObjectObjectsDeathTest, CastCheckedStopsOnTheWrongClass)
{
	UObject* Object = NewObject<UReflectionTestObject>();
	EXPECT_DEATH(CastChecked<UConfigTestSettings>(Object), "");
}

TEST(HostCoreUObjectObjects, DefaultObjectIsSharedFlaggedAndRooted)
{
	const UReflectionTestObject* Default = GetDefault<UReflectionTestObject>();
	ASSERT_NE(Default, nullptr);
	EXPECT_EQ(Default, GetMutableDefault<UReflectionTestObject>());
	EXPECT_EQ(Default, UReflectionTestObject::StaticClass()->GetDefaultObject());
	EXPECT_TRUE(Default->HasAllFlags(RF_ClassDefaultObject | RF_ArchetypeObject));
	EXPECT_TRUE(Default->IsTemplate());
	EXPECT_TRUE(Default->IsRooted());
	EXPECT_EQ(Str(Default->GetName()), "Default__ReflectionTestObject");
	EXPECT_EQ(Default->Count, 3);
}

TEST(HostCoreUObjectObjects, ConstructorsCreateDefaultSubobjects)
{
	USubobjectOwner* Owner = NewObject<USubobjectOwner>();
	ASSERT_NE(Owner->Part, nullptr);
	EXPECT_EQ(Owner->Part->GetOuter(), Owner);
	EXPECT_EQ(Str(Owner->Part->GetName()), "Part");
	EXPECT_TRUE(Owner->Part->HasAnyFlags(RF_DefaultSubObject));
	EXPECT_FALSE(Owner->Part->HasAnyFlags(RF_ArchetypeObject));
	const USubobjectOwner* Default = GetDefault<USubobjectOwner>();
	ASSERT_NE(Default->Part, nullptr);
	EXPECT_TRUE(Default->Part->HasAnyFlags(RF_ArchetypeObject));
	EXPECT_NE(Default->Part, Owner->Part);
}

TEST(HostCoreUObjectObjects, GarbageObjectsAreInvalidBeforeTheyAreCollected)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	TWeakObjectPtr<UReflectionTestObject> Weak(Object);
	EXPECT_TRUE(IsValid(Object));
	Object->MarkAsGarbage();
	EXPECT_FALSE(IsValid(Object));
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_EQ(Weak.Get(), nullptr);
	EXPECT_EQ(Weak.Get(true), Object);
	Object->ClearGarbage();
	EXPECT_TRUE(Weak.IsValid());
	EXPECT_FALSE(IsValid(nullptr));
}

TEST(HostCoreUObjectObjectsDeathTest, RootedObjectsCannotBeMarkedAsGarbage)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	Object->AddToRoot();
	EXPECT_DEATH(Object->MarkAsGarbage(), "");
	Object->RemoveFromRoot();
}

TEST(HostCoreUObjectObjectsDeathTest, AbstractClassesCannotBeInstantiated)
{
	EXPECT_DEATH(NewObject<UObject>(GetTransientPackage(), UObject::StaticClass()), "abstract class");
}

TEST(HostCoreUObjectObjectsDeathTest, FindFunctionCheckedStopsWhenMissing)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	EXPECT_DEATH(Object->FindFunctionChecked(TEXT("NoSuchFunction")), "Failed to find function NoSuchFunction");
}

TEST(HostCoreUObjectObjects, SameNameInTheSameOuterIsRefused)
{
	NewObject<UReflectionTestObject>(GetTransientPackage(), TEXT("Unique"));
	EXPECT_DEATH(NewObject<UReflectionTestObject>(GetTransientPackage(), TEXT("Unique")), "already exists");
}

// The name lookup keeps finding every live object while others are collected around it (their
// entries removed from the middle of runs of neighbours), and a collected object's name can be
// taken again.
TEST(HostCoreUObjectObjects, LookupSurvivesCollectionOfNeighbours)
{
	UReflectionTestObject* Outer = NewObject<UReflectionTestObject>(GetTransientPackage(), TEXT("ManyOuter"));
	Outer->AddToRoot();
	constexpr int32 Count = 6000;
	TArray<UReflectionTestObject*> Objects;
	for (int32 Index = 0; Index < Count; ++Index)
	{
		UReflectionTestObject* Object = NewObject<UReflectionTestObject>(Outer, *FString::Printf(TEXT("Many_%d"), Index));
		Objects.Add(Object);
	}
	// Keep about two in three, chosen by a scrambled index so that runs are broken up everywhere.
	auto bKeeps = [](int32 Index) { return ((uint32)Index * 2654435761u >> 7) % 3 != 0; };
	for (int32 Index = 0; Index < Count; ++Index)
	{
		if (bKeeps(Index))
		{
			Objects[Index]->AddToRoot();
		}
	}
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	for (int32 Index = 0; Index < Count; ++Index)
	{
		const FString Name = FString::Printf(TEXT("Many_%d"), Index);
		UReflectionTestObject* Found = FindObject<UReflectionTestObject>(Outer, *Name);
		if (bKeeps(Index))
		{
			ASSERT_EQ(Found, Objects[Index]) << Index;
		}
		else
		{
			ASSERT_EQ(Found, nullptr) << Index;
			// The name is free again.
			UReflectionTestObject* Again = NewObject<UReflectionTestObject>(Outer, *Name);
			ASSERT_EQ(FindObject<UReflectionTestObject>(Outer, *Name), Again) << Index;
			Again->MarkAsGarbage();
		}
	}
	// The same names under another outer are other objects.
	EXPECT_EQ(FindObject<UReflectionTestObject>(GetTransientPackage(), TEXT("Many_1")), nullptr);
	for (int32 Index = 0; Index < Count; ++Index)
	{
		if (bKeeps(Index))
		{
			Objects[Index]->RemoveFromRoot();
		}
	}
	Outer->RemoveFromRoot();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_EQ(FindObject<UReflectionTestObject>(GetTransientPackage(), TEXT("ManyOuter")), nullptr);
}

TEST(HostCoreUObjectObjects, WeakPointersCompareInEitherOperandOrder)
{
	UReflectionTestObject* const First = NewObject<UReflectionTestObject>();
	UReflectionTestObject* const Second = NewObject<UReflectionTestObject>();
	const TWeakObjectPtr<UReflectionTestObject> WeakFirst(First);
	const TWeakObjectPtr<UObject> WeakFirstAsObject(First);
	const TWeakObjectPtr<UReflectionTestObject> Unset;

	EXPECT_TRUE(WeakFirst == First);
	EXPECT_TRUE(First == WeakFirst);
	EXPECT_TRUE(WeakFirst != Second);
	EXPECT_TRUE(Second != WeakFirst);
	EXPECT_TRUE(WeakFirst == WeakFirstAsObject);
	EXPECT_TRUE(WeakFirstAsObject == WeakFirst);
	EXPECT_FALSE(WeakFirst == nullptr);
	EXPECT_TRUE(Unset == nullptr);
	EXPECT_TRUE(nullptr == Unset);
	EXPECT_TRUE(nullptr != WeakFirst);

	// Equal means "Get() returns the same": a pointer to a garbage object equals an unset one.
	First->MarkAsGarbage();
	EXPECT_TRUE(WeakFirst == nullptr);
	First->ClearGarbage();
	EXPECT_TRUE(WeakFirst == First);
}
