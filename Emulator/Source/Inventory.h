#pragma once

#include "Catalogue.h"
#include "Json.h"
#include "Placement.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Velmora
{
constexpr int64_t MaxQuantity = 2147483647;
constexpr size_t MaxIntents = 10000;

struct Stack
{
	std::string id;
	std::string itemId;
	int64_t quantity = 0;
	int slotIndex = -1;
	std::string slotKey;
	int x = -1;
	int y = -1;
	bool bRotated = false;
	// Position in the container's order: stacks are listed in the order they entered it.
	int64_t ord = 0;
	bool bStored = false; // a row exists in the database
	bool bDirty = false;  // the row must be written
};

struct ContainerState
{
	std::string id;
	std::string playerId;
	std::string kind;
	std::string layout; // "grid" or "slots"
	int slotCount = 0;
	int gridWidth = 0;
	int gridHeight = 0;
	int64_t version = 1;
	int64_t nextOrd = 1;
	std::vector<Stack> stacks;
	// Stacks consumed away: their rows are deleted on save. (A stack moved out is written by the
	// container it moved into.)
	std::vector<std::string> deletedIds;

	bool isSlots() const { return layout == "slots"; }
	Stack* find(const std::string& instanceId);
	int indexOf(const std::string& instanceId) const;
};

// A destination ("to") as a request names it; absent members change nothing.
struct Destination
{
	std::optional<int64_t> slotIndex;
	std::optional<std::string> slotKey;
	std::optional<int64_t> x;
	std::optional<int64_t> y;
	std::optional<bool> rotated;

	bool empty() const { return !slotIndex && !slotKey && !x && !y && !rotated; }
	// Validates member types and ranges; "x" and "y" come together. Refuses with 400.
	static Destination parse(const Json& object, const std::string& where);
	Json toJson() const;
};

struct GrantIntent
{
	std::string itemId;
	int64_t quantity = 0;
};
struct ConsumeIntent
{
	std::string instanceId;
	int64_t quantity = 0;
};
struct MoveIntent
{
	std::string instanceId;
	Destination to;
};
struct Intent
{
	enum class Kind
	{
		Grant,
		Consume,
		Move
	} kind = Kind::Grant;
	GrantIntent grant;
	ConsumeIntent consume;
	MoveIntent move;
	// The intent as it will be recorded in the change history (known members only).
	Json recorded;
};

// Parses and validates "intents" of a transaction body: at most MaxIntents (else 400
// "too_many_intents"), each of a known kind with valid members, every grant naming containerId
// (else 400 "intent_outside_container").
std::vector<Intent> parseIntents(const Json& body, const std::string& containerId);

// One applied change to one stack, as the change history records it: enough to replay the
// history from an empty container.
using Effects = std::vector<Json>;

// Resolves an instance id that is not in the container being changed: the id of the container
// that holds it, when it belongs to the same player; nothing when unknown or another player's.
using InstanceLocator = std::function<std::optional<std::string>(const std::string& instanceId)>;
using IdMaker = std::function<std::string()>;

// The platform's inventory rules, applied to containers loaded in memory. Every operation either
// completes or throws ApiError leaving its containers to be discarded.
class Inventory
{
public:
	Inventory(const Catalogue& catalogue, IdMaker newInstanceId);

	Json itemJson(const Stack& stack) const;
	Json documentJson(const ContainerState& container) const;

	// Single operations (the stash panel). Each returns the stack it leaves (null when gone).
	const Stack* grant(ContainerState& container, const GrantIntent& grant, const std::optional<Destination>& to, Effects& effects);
	const Stack* consume(ContainerState& container, const ConsumeIntent& consume, Effects& effects);
	// Moves the whole stack from `from` into `to` (the same object when moving within one container).
	const Stack* move(ContainerState& from, ContainerState& to, const std::string& instanceId, const std::optional<Destination>& place,
		Effects& fromEffects, Effects& toEffects);

	// The sync node's batch: consumes and moves in order, occupancy checked on their final state,
	// then grants in order. Returns one item object (or null) per intent.
	Json transact(ContainerState& container, const std::vector<Intent>& intents, const InstanceLocator& locate, Effects& effects);

	std::string describe(const Stack& stack) const;
	std::string describeContainer(const ContainerState& container) const;

private:
	struct Footprint
	{
		int width = 1;
		int height = 1;
	};
	Footprint footprintOf(const Stack& stack) const;
	Footprint footprintOf(const std::string& itemId, bool bRotated) const;

	void applyDestination(const ContainerState& container, Stack& stack, const Destination& to, const std::string& context) const;
	// Marks every stack of the container (but `skip`) in a new occupancy.
	Occupancy buildOccupancy(const ContainerState& container, const std::string& skip) const;
	void placeStack(ContainerState& container, Occupancy& occupancy, Stack& stack, const std::string& context) const;
	void placeAtFirstFree(ContainerState& container, Occupancy& occupancy, Stack& stack, const std::string& context) const;
	Stack& newStack(ContainerState& container, const std::string& itemId, int64_t quantity);
	int firstStackOf(const ContainerState& container, const std::string& itemId) const;
	void addQuantity(Stack& stack, int64_t quantity, const std::string& context) const;
	Json effect(int intent, const char* change, const Stack& stack, int64_t quantityChange) const;

	const Catalogue& m_catalogue;
	IdMaker m_newInstanceId;
};
}
