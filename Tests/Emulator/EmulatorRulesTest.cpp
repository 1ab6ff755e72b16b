// The emulator's pure parts, without a server: fault lists, occupancy scans, ids and tokens.

#include "Crypto.h"
#include "Faults.h"
#include "HttpServer.h"
#include "Options.h"
#include "Placement.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using namespace Velmora;

TEST(EmulatorFaultPlan, ParsesProbabilitiesDelayAndScope)
{
	const FaultPlan Plan = FaultPlan::parse("unavailable=0.1,drop=0.05,delay=0.25:250,scope=mutating");
	EXPECT_DOUBLE_EQ(Plan.unavailable, 0.1);
	EXPECT_DOUBLE_EQ(Plan.drop, 0.05);
	EXPECT_DOUBLE_EQ(Plan.delay, 0.25);
	EXPECT_EQ(Plan.delayMs, 250);
	EXPECT_EQ(Plan.scope, FaultScope::Mutating);
	EXPECT_FALSE(FaultPlan::parse("none").any());
	EXPECT_FALSE(FaultPlan::parse("").any());
	// What toString writes parses back to the same plan.
	const FaultPlan Again = FaultPlan::parse(Plan.toString());
	EXPECT_DOUBLE_EQ(Again.unavailable, Plan.unavailable);
	EXPECT_EQ(Again.delayMs, Plan.delayMs);
	EXPECT_EQ(Again.scope, Plan.scope);
}

TEST(EmulatorFaultPlan, RefusesMalformedParts)
{
	for (const char* Bad : {"unavailable", "unavailable=", "unavailable=1.5", "unavailable=-0.1", "unavailable=0.1x", "drop=abc", "delay=0.1",
			 "delay=0.1:", "delay=0.1:-5", "delay=0.1:60001", "scope=some", "explode=0.1", "unavailable=nan"})
	{
		EXPECT_THROW(FaultPlan::parse(Bad), std::invalid_argument) << Bad;
	}
}

TEST(EmulatorFaultPlan, SameSeedSameDecisionsAndCountersAddUp)
{
	const FaultPlan Plan = FaultPlan::parse("unavailable=0.2,drop=0.3,delay=0.5:10");
	FaultInjector A(Plan, 7);
	FaultInjector B(Plan, 7);
	int Unavailable = 0;
	int Dropped = 0;
	for (int I = 0; I < 2000; ++I)
	{
		const FaultDecision X = A.decide(true, true);
		const FaultDecision Y = B.decide(true, true);
		ASSERT_EQ(X.unavailable, Y.unavailable);
		ASSERT_EQ(X.drop, Y.drop);
		ASSERT_EQ(X.delayMs, Y.delayMs);
		// An unavailable answer is never also dropped or delayed.
		EXPECT_FALSE(X.unavailable && (X.drop || X.delayMs > 0));
		Unavailable += X.unavailable;
		Dropped += X.drop;
	}
	const Json Counters = A.describe();
	EXPECT_EQ(Counters["injected"]["unavailable"], Unavailable);
	EXPECT_EQ(Counters["injected"]["drop"], Dropped);
	// Roughly the asked-for rates (0.2, and 0.3 of the other 0.8).
	EXPECT_NEAR(Unavailable / 2000.0, 0.2, 0.04);
	EXPECT_NEAR(Dropped / 2000.0, 0.24, 0.04);
}

TEST(EmulatorFaultPlan, ScopeLimitsWhichRequestsAreHit)
{
	FaultInjector Injector(FaultPlan::parse("unavailable=1,scope=retryable"), 1);
	EXPECT_FALSE(Injector.decide(true, false).unavailable);
	EXPECT_TRUE(Injector.decide(false, true).unavailable);
	Injector.configure(FaultPlan::parse("unavailable=1,scope=mutating"), nullptr);
	EXPECT_FALSE(Injector.decide(false, true).unavailable);
	EXPECT_TRUE(Injector.decide(true, false).unavailable);
	EXPECT_EQ(Injector.describe()["eligible_requests"], 2);
}

TEST(EmulatorOccupancy, FindsTheFirstRowMajorPositionForAFootprint)
{
	Occupancy Grid(5, 3);
	Grid.mark(0, 0, 3, 1, 0);
	Grid.mark(4, 1, 1, 1, 1);
	EXPECT_EQ(Grid.findFree(2, 1), std::make_pair(3, 0));
	EXPECT_EQ(Grid.findFree(2, 2), std::make_pair(0, 1));
	EXPECT_EQ(Grid.findFree(5, 1), std::make_pair(0, 2));
	EXPECT_FALSE(Grid.findFree(6, 1).has_value());
	EXPECT_FALSE(Grid.findFree(1, 4).has_value());
	// Positions ruled out stay ruled out as cells fill.
	Grid.mark(0, 1, 4, 2, 2);
	EXPECT_EQ(Grid.findFree(1, 1), std::make_pair(3, 0));
	Grid.mark(3, 0, 2, 1, 3);
	EXPECT_EQ(Grid.findFree(1, 1), std::make_pair(4, 2));
	Grid.mark(4, 2, 1, 1, 4);
	EXPECT_FALSE(Grid.findFree(1, 1).has_value());
	EXPECT_EQ(Grid.ownerIn(2, 0, 2, 1), 0);
	EXPECT_EQ(Grid.ownerIn(4, 1, 1, 1), 1);
}

TEST(EmulatorOccupancy, InsideChecksEveryEdge)
{
	const Occupancy Grid(10, 8);
	EXPECT_TRUE(Grid.inside(0, 0, 10, 8));
	EXPECT_TRUE(Grid.inside(7, 7, 3, 1));
	EXPECT_FALSE(Grid.inside(8, 7, 3, 1));
	EXPECT_FALSE(Grid.inside(0, 7, 1, 2));
	EXPECT_FALSE(Grid.inside(-1, 0, 1, 1));
	EXPECT_FALSE(Grid.inside(2147483647, 0, 3, 1));
}

TEST(EmulatorIds, AreSortablePrefixedAndUnique)
{
	std::set<std::string> Seen;
	std::string Previous;
	for (int64_t Ms = 1700000000000; Ms < 1700000000100; ++Ms)
	{
		const std::string Id = newId("ins_", Ms);
		ASSERT_EQ(Id.size(), 30u);
		EXPECT_EQ(Id.rfind("ins_", 0), 0u);
		EXPECT_TRUE(Seen.insert(Id).second);
		EXPECT_LT(Previous, Id);
		Previous = Id;
	}
}

TEST(EmulatorIds, TokensVerifyOnlyWithTheirOwnSecret)
{
	const IssuedToken Issued = issueToken();
	ParsedToken Parsed;
	ASSERT_TRUE(parseToken(Issued.token, Parsed));
	EXPECT_EQ(Parsed.selector, Issued.selector);
	EXPECT_EQ(Parsed.verifierHash, Issued.verifierHash);
	// The token itself is not stored: the digest differs from the secret half.
	EXPECT_EQ(Issued.token.find(Issued.verifierHash), std::string::npos);
	std::string Tampered = Issued.token;
	Tampered.back() = Tampered.back() == 'a' ? 'b' : 'a';
	ASSERT_TRUE(parseToken(Tampered, Parsed));
	EXPECT_NE(Parsed.verifierHash, Issued.verifierHash);
	for (const char* Bad : {"", "vel1_", "vel1_.x", "vel1_abc", "vel1_abc.", "other_abc.def"})
	{
		EXPECT_FALSE(parseToken(Bad, Parsed)) << Bad;
	}
	EXPECT_NE(issueToken().token, issueToken().token);
}

TEST(EmulatorPaths, SegmentsDecodeOnceAndKeepStrayPercents)
{
	EXPECT_EQ(decodeSegment("a%2Fb%20c"), "a/b c");
	EXPECT_EQ(decodeSegment("a%252F"), "a%2F");
	EXPECT_EQ(decodeSegment("100%"), "100%");
	EXPECT_EQ(decodeSegment("%zz%4"), "%zz%4");
	EXPECT_EQ(decodeSegment("%e2%9c%93"), "\xe2\x9c\x93");
}

TEST(EmulatorOptions, OnlyLoopbackIsLoopback)
{
	EXPECT_TRUE(isLoopbackHost("127.0.0.1"));
	EXPECT_TRUE(isLoopbackHost("127.8.9.10"));
	EXPECT_TRUE(isLoopbackHost("::1"));
	EXPECT_TRUE(isLoopbackHost("localhost"));
	EXPECT_FALSE(isLoopbackHost("0.0.0.0"));
	EXPECT_FALSE(isLoopbackHost("192.168.1.4"));
	EXPECT_FALSE(isLoopbackHost("::"));
	EXPECT_FALSE(isLoopbackHost("128.0.0.1"));
}
