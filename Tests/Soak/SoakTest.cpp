// The soak's invariant checks must find each kind of fault they exist for, and the soak itself
// must keep every invariant for 200 rounds under injected faults, two-second tokens and two
// restarts of the platform.
#include "SoakChecks.h"
#include "Dom/JsonValue.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace
{
	TArray<TSharedPtr<FJsonValue>> Array(const TCHAR* Json)
	{
		TArray<TSharedPtr<FJsonValue>> Values;
		EXPECT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(FString(Json)), Values));
		return Values;
	}

	const TCHAR* const TwoEntries = TEXT(R"([
		{"version": 1, "idempotency_key": null, "effects": []},
		{"version": 2, "idempotency_key": "k-1", "effects": [
			{"change": "created", "instance_id": "ins_a", "item_id": "Ammo", "quantity": 5, "slot_index": 0},
			{"change": "created", "instance_id": "ins_b", "item_id": "Rifle", "quantity": 1, "slot_index": 1}]},
		{"version": 3, "idempotency_key": "k-2", "effects": [
			{"change": "changed", "instance_id": "ins_a", "item_id": "Ammo", "quantity": 2, "slot_index": 4},
			{"change": "removed", "instance_id": "ins_b", "item_id": "Rifle", "quantity": 0, "slot_index": 1}]}])");

	FQuarnItemInstance Item(const TCHAR* Id, const TCHAR* ItemId, int32 Quantity)
	{
		FQuarnItemInstance Result;
		Result.InstanceId = Id;
		Result.ItemId = FName(ItemId);
		Result.Quantity = Quantity;
		return Result;
	}
}

TEST(QuarnSoakChecks, ReplayRebuildsTheStoredContainer)
{
	FSoakReplay Replay;
	TArray<FString> Violations;
	Replay.Apply(Array(TwoEntries), Violations);
	Replay.Compare(Array(TEXT(R"([{"id": "ins_a", "item_id": "Ammo", "quantity": 2, "slot_index": 4}])")), Violations);
	EXPECT_EQ(Replay.GetVersion(), 3);
	EXPECT_TRUE(Violations.IsEmpty()) << TCHAR_TO_UTF8(*FString::Join(Violations, TEXT("; ")));
}

TEST(QuarnSoakChecks, ReplayFindsUnrecordedAndLostChanges)
{
	FSoakReplay Replay;
	TArray<FString> Violations;
	Replay.Apply(Array(TwoEntries), Violations);
	ASSERT_TRUE(Violations.IsEmpty());
	// A quantity that changed without an entry, and a stack that vanished without one.
	Replay.Compare(Array(TEXT(R"([{"id": "ins_a", "item_id": "Ammo", "quantity": 7, "slot_index": 4}])")), Violations);
	EXPECT_EQ(Violations.Num(), 1);
	Violations.Reset();
	Replay.Compare(Array(TEXT("[]")), Violations);
	EXPECT_EQ(Violations.Num(), 1);
}

TEST(QuarnSoakChecks, ReplayFindsAKeyAppliedTwiceAndGapsInTheHistory)
{
	FSoakReplay Replay;
	TArray<FString> Violations;
	Replay.Apply(Array(TwoEntries), Violations);
	Replay.Apply(Array(TEXT(R"([{"version": 5, "idempotency_key": "k-1", "effects": []}])")), Violations);
	EXPECT_EQ(Violations.Num(), 2);
	// Entries already applied (a re-read overlapping the last one) are not applied again.
	Violations.Reset();
	Replay.Apply(Array(TwoEntries), Violations);
	EXPECT_TRUE(Violations.IsEmpty());
}

TEST(QuarnSoakChecks, ReplayFindsChangesToStacksNeverCreated)
{
	FSoakReplay Replay;
	TArray<FString> Violations;
	Replay.Apply(Array(TEXT(R"([{"version": 1, "effects": [{"change": "changed", "instance_id": "ins_x", "item_id": "Ammo", "quantity": 1, "slot_index": 0}]}])")), Violations);
	EXPECT_EQ(Violations.Num(), 1);
}

TEST(QuarnSoakChecks, SharedInstanceIdsAreFoundIgnoringCase)
{
	TArray<FString> Violations;
	FindSharedInstanceIds(Array(TEXT(R"([{"id": "ins_A"}, {"id": "ins_b"}, {"id": "INS_a"}])")), Violations);
	EXPECT_EQ(Violations.Num(), 1);
	Violations.Reset();
	FindSharedInstanceIds(Array(TEXT(R"([{"id": "ins_a"}, {"id": "ins_b"}])")), Violations);
	EXPECT_TRUE(Violations.IsEmpty());
}

TEST(QuarnSoakChecks, ExpectedUnitsCountEachInstanceOnceAndLeaveOutSkippedOnes)
{
	const TArray<FQuarnItemInstance> Desired = {
		Item(TEXT("ins_a"), TEXT("Ammo"), 5),
		Item(TEXT("ins_a"), TEXT("Ammo"), 5),
		Item(TEXT(""), TEXT("Ammo"), 3),
		Item(TEXT("ins_gone"), TEXT("Rifle"), 1),
		Item(TEXT("ins_zero"), TEXT("Medkit"), 0),
		Item(TEXT(""), TEXT("Bandage"), 2),
	};
	const TArray<FString> Warnings = { TEXT("Rifle carries unknown instance id ins_gone; ignored (the platform has no such item)") };
	const TMap<FString, int64> Units = ExpectedUnits(Desired, Warnings);
	EXPECT_EQ(Units.Num(), 2);
	EXPECT_EQ(Units.FindRef(TEXT("Ammo")), 8);
	EXPECT_EQ(Units.FindRef(TEXT("Bandage")), 2);
	EXPECT_FALSE(Units.Contains(TEXT("Rifle")));

	const TMap<FString, int64> Held = StoredUnits(Array(TEXT(R"([{"item_id": "Ammo", "quantity": 6}, {"item_id": "Ammo", "quantity": 2}, {"item_id": "Bandage", "quantity": 2}])")));
	EXPECT_TRUE(Units.OrderIndependentCompareEqual(Held));
}

TEST(QuarnSoak, TwoHundredRoundsUnderFaultsExpiriesAndRestartsKeepEveryInvariant)
{
	// Bounded: a soak that hangs ends with status 124 instead of holding the test run.
	const std::string Command = std::string("timeout 900 '") + QUARN_SOAK_BINARY + "' --emulator '" + QUARN_EMULATOR_BINARY + "' --rounds 200 --seed 7 --token-ttl 2 --restarts 2 2>&1";
	FILE* const Pipe = popen(Command.c_str(), "r");
	ASSERT_NE(Pipe, nullptr);
	std::string Output;
	char Buffer[4096];
	size_t Read = 0;
	while ((Read = fread(Buffer, 1, sizeof(Buffer), Pipe)) > 0)
	{
		Output.append(Buffer, Read);
	}
	const int Status = pclose(Pipe);
	ASSERT_TRUE(WIFEXITED(Status)) << Output;
	ASSERT_NE(WEXITSTATUS(Status), 124) << "the soak did not finish within 900 seconds\n" << Output;
	EXPECT_EQ(WEXITSTATUS(Status), 0) << Output;
	EXPECT_NE(Output.find("rounds           200\n"), std::string::npos) << Output;
	EXPECT_NE(Output.find("\nviolations 0\n"), std::string::npos) << Output;
	EXPECT_NE(Output.find("\nrestarts 2\n"), std::string::npos) << Output;
	// Two-second tokens over the run: the sessions must have renewed themselves.
	EXPECT_EQ(Output.find("\nrenewals 0\n"), std::string::npos) << Output;
	EXPECT_NE(Output.find("\nrenewals "), std::string::npos) << Output;
	// The run must really have met faults and a second writer, or it proved nothing.
	EXPECT_EQ(Output.find("faults injected  0 "), std::string::npos) << Output;
	EXPECT_EQ(Output.find("conflicts        0\n"), std::string::npos) << Output;
}
