// The core's sign-in and container nodes over a scripted transport: what they send, what they read,
// that exactly one pin fires once, and that the game instance keeps them only until then.
#include "CoreNodeTest.h"
#include "Engine/World.h"
#include "QuarnAuthenticatePlayer.h"
#include "QuarnCorePinRecorder.h"
#include "QuarnEnsureContainer.h"
#include "QuarnSubsystem.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"

using namespace QuarnTest;

namespace
{
	class FQuarnCoreActions : public FCoreNodeTest
	{
	protected:
		virtual void TearDown() override
		{
			Subsystem()->SetAccessToken(TEXT("plr_1"), FString());
			FCoreNodeTest::TearDown();
		}
	};

	const TCHAR* const SessionAnswer = TEXT("{\"player\":{\"id\":\"plr_1\",\"provider\":\"anonymous\"},\"tokens\":{\"access_token\":\"tok_abc\",\"token_type\":\"Bearer\",\"expires_in\":3600}}");
}

TEST_F(FQuarnCoreActions, SignInStoresTheTokenForThePlayer)
{
	UQuarnCorePinRecorder* Pins = NewRecorder();
	UQuarnAuthenticatePlayer* Action = UQuarnAuthenticatePlayer::AuthenticatePlayer(Engine().GetWorld(), TEXT("anonymous"), TEXT("menu_preview"));
	Pins->Bind(Action);
	Action->Activate();
	ASSERT_EQ(Transport->Sent.Num(), 1);
	EXPECT_EQ(Str(Transport->Sent[0].Verb), "POST");
	EXPECT_TRUE(Transport->Sent[0].Url.EndsWith(TEXT("/v1/game/sessions")));
	EXPECT_EQ(Str(Transport->Sent[0].Body), Eol("{\n\t\"provider\": \"anonymous\",\n\t\"ticket\": \"menu_preview\"\n}"));
	EXPECT_TRUE(Transport->Sent[0].GetHeader(TEXT("Authorization")).IsEmpty());
	EXPECT_FALSE(Subsystem()->IsPlayerAuthenticated(TEXT("plr_1")));

	Transport->Answer(200, SessionAnswer);
	ASSERT_TRUE(PumpUntil([&] { return Pins->Total() > 0; }));
	PumpTicks(3);
	EXPECT_EQ(Pins->Successes, 1);
	EXPECT_EQ(Pins->Failures, 0);
	EXPECT_EQ(Str(Pins->Player.PlayerId), "plr_1");
	EXPECT_EQ(Str(Subsystem()->GetAccessToken(TEXT("plr_1"))), "tok_abc");
	EXPECT_EQ(Str(Subsystem()->GetAccessToken(TEXT("PLR_1"))), "tok_abc") << "player ids compare as the engine's string keys do";
}

TEST_F(FQuarnCoreActions, SignInFailuresKeepNoToken)
{
	struct FCase
	{
		int32 Status;
		const TCHAR* Body;
		const char* Code;
	};
	const FCase Cases[] = {
		{403, TEXT("{\"error\":{\"code\":\"provider_not_allowed\",\"message\":\"m\",\"hint\":\"h\"}}"), "provider_not_allowed"},
		{200, TEXT("{\"player\":{\"id\":\"plr_1\"}}"), "bad_response"},
		{200, TEXT("{\"player\":{},\"tokens\":{\"access_token\":\"t\"}}"), "bad_response"},
	};
	for (const FCase& Case : Cases)
	{
		UQuarnCorePinRecorder* Pins = NewRecorder();
		UQuarnAuthenticatePlayer* Action = UQuarnAuthenticatePlayer::AuthenticatePlayer(Engine().GetWorld(), TEXT("anonymous"), TEXT("x"));
		Pins->Bind(Action);
		Action->Activate();
		Transport->Answer(Case.Status, Case.Body);
		ASSERT_TRUE(PumpUntil([&] { return Pins->Total() > 0; }));
		PumpTicks(3);
		EXPECT_EQ(Pins->Failures, 1) << Str(Case.Body);
		EXPECT_EQ(Pins->Successes, 0) << Str(Case.Body);
		EXPECT_EQ(Str(Pins->Error.Code), Case.Code) << Str(Case.Body);
		EXPECT_FALSE(Subsystem()->IsPlayerAuthenticated(TEXT("plr_1"))) << Str(Case.Body);
	}
}

TEST_F(FQuarnCoreActions, EnsureSendsTheLayoutAndReadsEveryItemField)
{
	Subsystem()->SetAccessToken(TEXT("plr_1"), TEXT("tok_abc"));
	UQuarnCorePinRecorder* Pins = NewRecorder();
	UQuarnEnsureContainer* Action = UQuarnEnsureContainer::EnsureContainer(Engine().GetWorld(), TEXT("plr_1"), TEXT("stash"), EQuarnContainerLayout::Grid, 40, 10, 8);
	Pins->Bind(Action);
	Action->Activate();
	ASSERT_EQ(Transport->Sent.Num(), 1);
	EXPECT_TRUE(Transport->Sent[0].Url.EndsWith(TEXT("/v1/game/containers/ensure")));
	EXPECT_EQ(Str(Transport->Sent[0].GetHeader(TEXT("Authorization"))), "Bearer tok_abc");
	EXPECT_EQ(Str(Transport->Sent[0].Body), Eol("{\n\t\"kind\": \"stash\",\n\t\"layout\": \"grid\",\n\t\"grid_width\": 10,\n\t\"grid_height\": 8\n}"));

	Transport->Answer(200, TEXT("{\"id\":\"ctr_9\",\"kind\":\"stash\",\"layout\":\"grid\",\"version\":4,\"items\":["
		"{\"id\":\"ins_1\",\"item_id\":\"Rifle\",\"quantity\":1,\"slot_index\":-1,\"slot_key\":\"back\",\"x\":2,\"y\":3,\"grid_w\":4,\"grid_h\":2,\"rotated\":true,\"durability\":0.75,\"properties\":{\"__qnid\":\"other\"}},"
		"{\"item_id\":\"Ammo\",\"quantity\":30,\"properties\":{\"__qnid\":\"ins_2\"}},"
		"{\"item_id\":\"Odd\",\"quantity\":\"7\",\"x\":true},"
		"5]}"));
	ASSERT_TRUE(PumpUntil([&] { return Pins->Total() > 0; }));
	PumpTicks(3);
	ASSERT_EQ(Pins->Successes, 1);
	const FQuarnContainer& Container = Pins->Container;
	EXPECT_EQ(Str(Container.ContainerId), "ctr_9");
	EXPECT_EQ(Str(Container.Kind), "stash");
	EXPECT_EQ(Str(Container.Layout), "grid");
	// An element that is not an object is no stack.
	ASSERT_EQ(Container.Items.Num(), 3);
	const FQuarnItemInstance& Rifle = Container.Items[0];
	EXPECT_EQ(Str(Rifle.InstanceId), "ins_1") << "the stack's own id comes before properties";
	EXPECT_EQ(Str(Rifle.ItemId.ToString()), "Rifle");
	EXPECT_EQ(Rifle.Quantity, 1);
	EXPECT_EQ(Rifle.SlotIndex, -1);
	EXPECT_EQ(Str(Rifle.SlotKey), "back");
	EXPECT_EQ(Rifle.X, 2);
	EXPECT_EQ(Rifle.Y, 3);
	EXPECT_EQ(Rifle.GridW, 4);
	EXPECT_EQ(Rifle.GridH, 2);
	EXPECT_TRUE(Rifle.bRotated);
	EXPECT_FLOAT_EQ(Rifle.Durability, 0.75f);
	EXPECT_EQ(Str(Container.Items[1].InstanceId), "ins_2") << "falls back to properties.__qnid";
	// Members of the wrong type keep the record's defaults.
	const FQuarnItemInstance Defaults;
	EXPECT_EQ(Container.Items[2].Quantity, Defaults.Quantity);
	EXPECT_EQ(Container.Items[2].X, Defaults.X);
}

TEST_F(FQuarnCoreActions, EnsureWithoutATokenFailsWithoutARequest)
{
	UQuarnCorePinRecorder* Pins = NewRecorder();
	UQuarnEnsureContainer* Action = UQuarnEnsureContainer::EnsureContainer(Engine().GetWorld(), TEXT("nobody"), TEXT("stash"), EQuarnContainerLayout::Slots, 24, 0, 0);
	Pins->Bind(Action);
	Action->Activate();
	PumpTicks(3);
	EXPECT_EQ(Transport->Sent.Num(), 0);
	EXPECT_EQ(Pins->Failures, 1);
	EXPECT_EQ(Pins->Successes, 0);
	EXPECT_EQ(Str(Pins->Error.Code), "not_authenticated");
}

// The game instance holds a running action through a collection, lets it go once a pin fired, and
// a released action's late answer fires nothing.
TEST_F(FQuarnCoreActions, GameInstanceKeepsActionsUntilTheyFinish)
{
	Subsystem()->SetAccessToken(TEXT("plr_1"), TEXT("tok_abc"));
	UQuarnCorePinRecorder* Pins = NewRecorder();
	TWeakObjectPtr<UQuarnEnsureContainer> Action = UQuarnEnsureContainer::EnsureContainer(Engine().GetWorld(), TEXT("plr_1"), TEXT("loadout"), EQuarnContainerLayout::Slots, 24, 0, 0);
	Pins->Bind(Action.Get());
	Action->Activate();
	Engine().CollectGarbage();
	ASSERT_TRUE(Action.IsValid());
	Transport->Answer(200, TEXT("{\"id\":\"ctr_2\",\"items\":[]}"));
	ASSERT_TRUE(PumpUntil([&] { return Pins->Total() > 0; }));
	Engine().CollectGarbage();
	EXPECT_FALSE(Action.IsValid());

	UQuarnCorePinRecorder* Late = NewRecorder();
	TWeakObjectPtr<UQuarnAuthenticatePlayer> SignIn = UQuarnAuthenticatePlayer::AuthenticatePlayer(Engine().GetWorld(), TEXT("anonymous"), TEXT("late"));
	Late->Bind(SignIn.Get());
	SignIn->Activate();
	SignIn->SetReadyToDestroy();
	Engine().CollectGarbage();
	ASSERT_FALSE(SignIn.IsValid());
	Transport->Answer(200, SessionAnswer);
	PumpTicks(5);
	EXPECT_EQ(Late->Total(), 0);
	EXPECT_FALSE(Subsystem()->IsPlayerAuthenticated(TEXT("plr_1")) && Subsystem()->GetAccessToken(TEXT("plr_1")) != TEXT("tok_abc")) << "a collected sign-in stores no token";
}

TEST(QuarnCoreReflection, RecordsAndNodesAsBlueprintSeesThem)
{
	for (UScriptStruct* Struct : {FQuarnItemInstance::StaticStruct(), FQuarnContainer::StaticStruct(), FQuarnError::StaticStruct(), FQuarnPlayer::StaticStruct()})
	{
		EXPECT_EQ(Str(Struct->GetMetaData(TEXT("BlueprintType"))), "true") << Str(Struct->GetName());
		for (TFieldIterator<FProperty> It(Struct); It; ++It)
		{
			EXPECT_EQ(Str(It->GetMetaData(TEXT("Category"))), "Velmora") << Str(Struct->GetName()) << "." << Str(It->GetName());
		}
	}
	UEnum* Layout = StaticEnum<EQuarnContainerLayout>();
	ASSERT_NE(Layout, nullptr);
	EXPECT_EQ(Layout->GetValueByName(TEXT("EQuarnContainerLayout::Grid")), 0);
	EXPECT_EQ(Layout->GetValueByName(TEXT("EQuarnContainerLayout::Slots")), 1);

	UFunction* SignIn = UQuarnAuthenticatePlayer::StaticClass()->FindFunctionByName(TEXT("AuthenticatePlayer"));
	ASSERT_NE(SignIn, nullptr);
	EXPECT_EQ(Str(SignIn->GetMetaData(TEXT("DisplayName"))), "Quarn - Authenticate Player");
	EXPECT_EQ(Str(SignIn->GetMetaData(TEXT("BlueprintInternalUseOnly"))), "true");
	EXPECT_EQ(Str(SignIn->GetMetaData(TEXT("WorldContext"))), "WorldContextObject");

	const UQuarnSettings* Settings = UQuarnSettings::Get();
	ASSERT_NE(Settings, nullptr);
	EXPECT_TRUE(UQuarnSettings::StaticClass()->HasAnyClassFlags(CLASS_Config | CLASS_DefaultConfig));
	EXPECT_EQ(Str(Settings->GetContainerName().ToString()), "Project");
	EXPECT_EQ(Str(Settings->GetCategoryName().ToString()), "Plugins");
}
