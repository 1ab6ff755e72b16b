// Copyright Quarn. All Rights Reserved.

// Item ids from the network become names, which are never freed: an id longer than the platform
// stores is refused before it becomes one, counted in characters as the platform counts them.

#include "Tests/QuarnCoreNodeFixture.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnEnsureContainer.h"
#include "QuarnItemIds.h"

using namespace QuarnTests;

namespace QuarnItemIdTests
{
	/** Count characters beyond U+FFFF (two UTF-16 units each where TCHAR is 16 bits wide). */
	FString Astral(int32 Count)
	{
		FString Result;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Result += FString(TEXT("\U0001F9EA"));
		}
		return Result;
	}
}

BEGIN_DEFINE_SPEC(FQuarnItemIdSpec, "Quarn.Core.ItemIds", QuarnTests::TestFlags)
	TUniquePtr<QuarnCoreTests::FNodeFixture> Fixture;
END_DEFINE_SPEC(FQuarnItemIdSpec)

void FQuarnItemIdSpec::Define()
{
	using namespace QuarnItemIdTests;

	Describe(TEXT("IsAcceptable"), [this]()
	{
		It(TEXT("accepts ids up to the platform's limit and refuses longer ones"), [this]()
		{
			TestTrue(TEXT("empty"), QuarnItemIds::IsAcceptable(FString()));
			TestTrue(TEXT("at the limit"), QuarnItemIds::IsAcceptable(FString::ChrN(QuarnItemIds::MaxLength, TEXT('a'))));
			TestFalse(TEXT("one over"), QuarnItemIds::IsAcceptable(FString::ChrN(QuarnItemIds::MaxLength + 1, TEXT('a'))));
		});

		It(TEXT("counts a character beyond U+FFFF once"), [this]()
		{
			TestTrue(TEXT("at the limit"), QuarnItemIds::IsAcceptable(Astral(QuarnItemIds::MaxLength)));
			TestFalse(TEXT("one over"), QuarnItemIds::IsAcceptable(Astral(QuarnItemIds::MaxLength + 1)));
		});
	});

	Describe(TEXT("The ensure node"), [this]()
	{
		BeforeEach([this]()
		{
			Fixture = MakeUnique<QuarnCoreTests::FNodeFixture>();
			Fixture->Subsystem()->SetAccessToken(TEXT("plr_i"), TEXT("tok_i"));
		});

		AfterEach([this]()
		{
			Fixture->Subsystem()->SignOut(TEXT("plr_i"));
			Fixture.Reset();
		});

		LatentIt(TEXT("fails with bad_response on a container holding a longer id, and makes no name of it"), FTimespan::FromSeconds(20), [this](const FDoneDelegate& Done)
		{
			const FString LongId = FString::ChrN(QuarnItemIds::MaxLength + 1, TEXT('z')) + TEXT("_ensure_never_a_name");
			UQuarnCorePinRecorder* const Pins = Fixture->NewRecorder();
			UQuarnEnsureContainer* const Action = UQuarnEnsureContainer::EnsureContainer(Fixture->GetWorld(), TEXT("plr_i"), TEXT("stash"), EQuarnContainerLayout::Slots, 40, 10, 8);
			Pins->Bind(Action);
			Action->Activate();
			Fixture->Transport().Answer(200, FString::Printf(TEXT("{\"id\":\"ctr_1\",\"kind\":\"stash\",\"layout\":\"slots\",\"items\":[{\"id\":\"ins_1\",\"item_id\":\"Rope\",\"quantity\":1},{\"id\":\"ins_2\",\"item_id\":\"%s\",\"quantity\":1}]}"), *LongId));
			Await(*this, TEXT("the pin"), [Pins]() { return Pins->Total() > 0; }, Done, [this, Pins, LongId, Done]()
			{
				TestEqual(TEXT("failures"), Pins->Failures, 1);
				TestEqualSensitive(TEXT("code"), Pins->Error.Code, FString(TEXT("bad_response")));
				TestEqual(TEXT("http status"), Pins->Error.HttpStatus, 200);
				TestTrue(TEXT("no name was made of the id"), FName(*LongId, FNAME_Find).IsNone());
				Done.Execute();
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
