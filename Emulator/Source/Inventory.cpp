#include "Inventory.h"

#include "ApiError.h"
#include "JsonRead.h"

#include <unordered_map>
#include <utility>

namespace Velmora
{
namespace
{
// Instance ids match as the platform wrote them, ignoring letter case (they are ASCII).
std::string foldCase(const std::string& text)
{
	std::string folded = text;
	for (char& c : folded)
	{
		if (c >= 'A' && c <= 'Z')
		{
			c = static_cast<char>(c - 'A' + 'a');
		}
	}
	return folded;
}

bool sameId(const std::string& a, const std::string& b)
{
	if (a.size() != b.size())
	{
		return false;
	}
	for (size_t i = 0; i < a.size(); ++i)
	{
		char ca = a[i];
		char cb = b[i];
		if (ca >= 'A' && ca <= 'Z')
		{
			ca = static_cast<char>(ca - 'A' + 'a');
		}
		if (cb >= 'A' && cb <= 'Z')
		{
			cb = static_cast<char>(cb - 'A' + 'a');
		}
		if (ca != cb)
		{
			return false;
		}
	}
	return true;
}

const char* const PlaceHint = "Choose a free place, or leave out \"to\" to let the platform pick the first free one.";
}

Stack* ContainerState::find(const std::string& instanceId)
{
	const int index = indexOf(instanceId);
	return index < 0 ? nullptr : &stacks[index];
}

int ContainerState::indexOf(const std::string& instanceId) const
{
	for (size_t i = 0; i < stacks.size(); ++i)
	{
		if (sameId(stacks[i].id, instanceId))
		{
			return static_cast<int>(i);
		}
	}
	return -1;
}

Destination Destination::parse(const Json& object, const std::string& where)
{
	Destination to;
	to.slotIndex = readInteger(object, "slot_index", where + ".slot_index", 0, MaxQuantity, false);
	to.slotKey = readString(object, "slot_key", where + ".slot_key", 0, 64, false);
	to.x = readInteger(object, "x", where + ".x", 0, MaxQuantity, false);
	to.y = readInteger(object, "y", where + ".y", 0, MaxQuantity, false);
	to.rotated = readBool(object, "rotated", where + ".rotated", false);
	if (to.x.has_value() != to.y.has_value())
	{
		throw invalidRequest("The destination " + inQuotes(where) + " names " + (to.x ? "\"x\" without \"y\"" : "\"y\" without \"x\"") +
				".",
			"A grid cell needs both \"x\" and \"y\".");
	}
	return to;
}

Json Destination::toJson() const
{
	Json out = Json::object();
	if (slotIndex)
	{
		out["slot_index"] = *slotIndex;
	}
	if (slotKey)
	{
		out["slot_key"] = *slotKey;
	}
	if (x)
	{
		out["x"] = *x;
		out["y"] = *y;
	}
	if (rotated)
	{
		out["rotated"] = *rotated;
	}
	return out;
}

std::vector<Intent> parseIntents(const Json& body, const std::string& containerId)
{
	const auto found = body.find("intents");
	if (found == body.end() || found->is_null())
	{
		throw invalidRequest("The member \"intents\" is missing; it must be an array of intents.",
			"Send {\"intents\": [...], \"container_id\": ..., \"expected_version\": ...}.");
	}
	if (!found->is_array())
	{
		throw invalidRequest("The member \"intents\" must be an array, not " + jsonTypeName(*found) + ".");
	}
	if (found->size() > MaxIntents)
	{
		throw ApiError(400, "too_many_intents",
			"This transaction holds " + std::to_string(found->size()) + " intents; the limit is " + std::to_string(MaxIntents) + ".",
			"Split the change into several transactions of at most 10000 intents, each sent with the version the previous one returned.");
	}
	if (found->empty())
	{
		throw invalidRequest("The member \"intents\" is empty; a transaction needs at least one intent.",
			"Send no transaction when there is nothing to change.");
	}
	std::vector<Intent> intents;
	intents.reserve(found->size());
	for (size_t i = 0; i < found->size(); ++i)
	{
		const Json& raw = (*found)[i];
		const std::string where = "intents[" + std::to_string(i) + "]";
		if (!raw.is_object())
		{
			throw invalidRequest("The intent " + inQuotes(where) + " must be an object, not " + jsonTypeName(raw) + ".");
		}
		Intent intent;
		const std::string kind = *readString(raw, "kind", where + ".kind", 1, 32, true);
		if (kind == "grant")
		{
			intent.kind = Intent::Kind::Grant;
			const std::string target = *readString(raw, "container_id", where + ".container_id", 1, 256, true);
			intent.grant.itemId = *readString(raw, "item_id", where + ".item_id", 1, 128, true);
			intent.grant.quantity = *readInteger(raw, "quantity", where + ".quantity", 1, MaxQuantity, true);
			if (target != containerId)
			{
				throw ApiError(400, "intent_outside_container",
					"Intent " + std::to_string(i) + " grants into container " + inQuotes(target) + ", but this transaction is for container " +
						inQuotes(containerId) + ".",
					"Every intent of a transaction must stay inside its \"container_id\"; send a separate transaction for the other container.");
			}
			intent.recorded = {{"kind", "grant"}, {"container_id", target}, {"item_id", intent.grant.itemId}, {"quantity", intent.grant.quantity}};
		}
		else if (kind == "consume")
		{
			intent.kind = Intent::Kind::Consume;
			intent.consume.instanceId = *readString(raw, "instance_id", where + ".instance_id", 1, 128, true);
			intent.consume.quantity = *readInteger(raw, "quantity", where + ".quantity", 1, MaxQuantity, true);
			intent.recorded = {{"kind", "consume"}, {"instance_id", intent.consume.instanceId}, {"quantity", intent.consume.quantity}};
		}
		else if (kind == "move")
		{
			intent.kind = Intent::Kind::Move;
			intent.move.instanceId = *readString(raw, "instance_id", where + ".instance_id", 1, 128, true);
			const Json* to = readObject(raw, "to", where + ".to", true);
			intent.move.to = Destination::parse(*to, where + ".to");
			intent.recorded = {{"kind", "move"}, {"instance_id", intent.move.instanceId}, {"to", intent.move.to.toJson()}};
		}
		else
		{
			throw invalidRequest("The intent " + inQuotes(where) + " has kind " + inQuotes(kind) + ", which is not an intent kind.",
				"Use \"grant\", \"consume\" or \"move\".");
		}
		intents.push_back(std::move(intent));
	}
	return intents;
}

Inventory::Inventory(const Catalogue& catalogue, IdMaker newInstanceId)
	: m_catalogue(catalogue), m_newInstanceId(std::move(newInstanceId))
{
}

Inventory::Footprint Inventory::footprintOf(const std::string& itemId, bool bRotated) const
{
	const CatalogueEntry entry = m_catalogue.find(itemId);
	return bRotated ? Footprint{entry.height, entry.width} : Footprint{entry.width, entry.height};
}

Inventory::Footprint Inventory::footprintOf(const Stack& stack) const
{
	return footprintOf(stack.itemId, stack.bRotated);
}

Json Inventory::itemJson(const Stack& stack) const
{
	const Footprint footprint = footprintOf(stack);
	Json item = Json::object();
	item["id"] = stack.id;
	item["item_id"] = stack.itemId;
	item["quantity"] = stack.quantity;
	item["slot_index"] = stack.slotIndex;
	item["slot_key"] = stack.slotKey;
	item["x"] = stack.x;
	item["y"] = stack.y;
	item["grid_w"] = footprint.width;
	item["grid_h"] = footprint.height;
	item["rotated"] = stack.bRotated;
	item["properties"] = {{"__qnid", stack.id}};
	return item;
}

Json Inventory::documentJson(const ContainerState& container) const
{
	Json document = Json::object();
	document["id"] = container.id;
	document["kind"] = container.kind;
	document["layout"] = container.layout;
	if (container.isSlots())
	{
		document["slot_count"] = container.slotCount;
	}
	else
	{
		document["grid_width"] = container.gridWidth;
		document["grid_height"] = container.gridHeight;
	}
	document["version"] = container.version;
	Json items = Json::array();
	for (const Stack& stack : container.stacks)
	{
		items.push_back(itemJson(stack));
	}
	document["items"] = std::move(items);
	return document;
}

std::string Inventory::describe(const Stack& stack) const
{
	return m_catalogue.displayName(stack.itemId) + " (" + stack.id + ")";
}

std::string Inventory::describeContainer(const ContainerState& container) const
{
	if (container.isSlots())
	{
		return "container " + container.id + " (" + std::to_string(container.slotCount) + " slots)";
	}
	return "container " + container.id + " (a grid of " + std::to_string(container.gridWidth) + " x " + std::to_string(container.gridHeight) + " cells)";
}

void Inventory::applyDestination(const ContainerState& container, Stack& stack, const Destination& to, const std::string& context) const
{
	if (container.isSlots())
	{
		if (to.x || to.y)
		{
			throw ApiError(409, "layout_mismatch",
				context + ": " + describeContainer(container) + " is made of slots; a destination there names \"slot_index\", not \"x\" and \"y\".",
				"Read the container's \"layout\": send \"slot_index\" for \"slots\", \"x\" and \"y\" for \"grid\".");
		}
		if (to.slotIndex)
		{
			stack.slotIndex = static_cast<int>(*to.slotIndex);
			stack.x = -1;
			stack.y = -1;
		}
	}
	else
	{
		if (to.slotIndex)
		{
			throw ApiError(409, "layout_mismatch",
				context + ": " + describeContainer(container) + " is a grid; a destination there names \"x\" and \"y\", not \"slot_index\".",
				"Read the container's \"layout\": send \"slot_index\" for \"slots\", \"x\" and \"y\" for \"grid\".");
		}
		if (to.x)
		{
			stack.x = static_cast<int>(*to.x);
			stack.y = static_cast<int>(*to.y);
			stack.slotIndex = -1;
		}
	}
	if (to.slotKey)
	{
		stack.slotKey = *to.slotKey;
	}
	if (to.rotated)
	{
		stack.bRotated = *to.rotated;
	}
}

Occupancy Inventory::buildOccupancy(const ContainerState& container, const std::string& skip) const
{
	Occupancy occupancy = container.isSlots() ? Occupancy(container.slotCount, 1) : Occupancy(container.gridWidth, container.gridHeight);
	for (size_t i = 0; i < container.stacks.size(); ++i)
	{
		const Stack& stack = container.stacks[i];
		if (!skip.empty() && sameId(stack.id, skip))
		{
			continue;
		}
		if (container.isSlots())
		{
			if (occupancy.inside(stack.slotIndex, 0, 1, 1))
			{
				occupancy.mark(stack.slotIndex, 0, 1, 1, static_cast<int32_t>(i));
			}
		}
		else
		{
			const Footprint footprint = footprintOf(stack);
			if (occupancy.inside(stack.x, stack.y, footprint.width, footprint.height))
			{
				occupancy.mark(stack.x, stack.y, footprint.width, footprint.height, static_cast<int32_t>(i));
			}
		}
	}
	return occupancy;
}

void Inventory::placeStack(ContainerState& container, Occupancy& occupancy, Stack& stack, const std::string& context) const
{
	const int index = static_cast<int>(&stack - container.stacks.data());
	int x = stack.slotIndex;
	int y = 0;
	Footprint footprint{1, 1};
	std::string place = "slot " + std::to_string(stack.slotIndex);
	if (!container.isSlots())
	{
		x = stack.x;
		y = stack.y;
		footprint = footprintOf(stack);
		place = "cell " + std::to_string(stack.x) + "," + std::to_string(stack.y) + " (" + std::to_string(footprint.width) + " x " +
			std::to_string(footprint.height) + ")";
	}
	if (!occupancy.inside(x, y, footprint.width, footprint.height))
	{
		throw ApiError(409, "container_full", context + ": " + place + " lies outside " + describeContainer(container) + ".",
			"Name a place inside the container, or leave out \"to\" to let the platform pick the first free one.");
	}
	const int32_t owner = occupancy.ownerIn(x, y, footprint.width, footprint.height);
	if (owner != Occupancy::Free)
	{
		throw ApiError(409, "cell_occupied",
			context + ": " + place + " of " + describeContainer(container) + " already holds " + describe(container.stacks[owner]) + ".", PlaceHint);
	}
	occupancy.mark(x, y, footprint.width, footprint.height, index);
}

void Inventory::placeAtFirstFree(ContainerState& container, Occupancy& occupancy, Stack& stack, const std::string& context) const
{
	const int index = static_cast<int>(&stack - container.stacks.data());
	const Footprint footprint = container.isSlots() ? Footprint{1, 1} : footprintOf(stack);
	const auto position = occupancy.findFree(footprint.width, footprint.height);
	if (!position)
	{
		const std::string size = container.isSlots() ? "" : " (" + std::to_string(footprint.width) + " x " + std::to_string(footprint.height) + ")";
		throw ApiError(409, "container_full",
			context + ": " + describeContainer(container) + " has no free space for " + m_catalogue.displayName(stack.itemId) + size + ".",
			"Free some space first (withdraw or move stacks out), or put the item into another container.");
	}
	if (container.isSlots())
	{
		stack.slotIndex = position->first;
		stack.x = -1;
		stack.y = -1;
	}
	else
	{
		stack.slotIndex = -1;
		stack.x = position->first;
		stack.y = position->second;
	}
	occupancy.mark(position->first, position->second, footprint.width, footprint.height, index);
}

Stack& Inventory::newStack(ContainerState& container, const std::string& itemId, int64_t quantity)
{
	Stack stack;
	stack.id = m_newInstanceId();
	stack.itemId = itemId;
	stack.quantity = quantity;
	stack.ord = container.nextOrd++;
	stack.bDirty = true;
	container.stacks.push_back(std::move(stack));
	return container.stacks.back();
}

int Inventory::firstStackOf(const ContainerState& container, const std::string& itemId) const
{
	for (size_t i = 0; i < container.stacks.size(); ++i)
	{
		if (container.stacks[i].itemId == itemId)
		{
			return static_cast<int>(i);
		}
	}
	return -1;
}

void Inventory::addQuantity(Stack& stack, int64_t quantity, const std::string& context) const
{
	if (stack.quantity + quantity > MaxQuantity)
	{
		throw invalidRequest(context + ": " + describe(stack) + " holds " + std::to_string(stack.quantity) + "; adding " + std::to_string(quantity) +
				" would take it over the limit of " + std::to_string(MaxQuantity) + " units per stack.",
			"Grant less; a stack holds at most 2147483647 units.");
	}
	stack.quantity += quantity;
	stack.bDirty = true;
}

Json Inventory::effect(int intent, const char* change, const Stack& stack, int64_t quantityChange) const
{
	const bool bRemoved = std::string(change) == "removed";
	Json out = Json::object();
	out["intent"] = intent;
	out["change"] = change;
	out["instance_id"] = stack.id;
	out["item_id"] = stack.itemId;
	out["quantity_change"] = quantityChange;
	out["quantity"] = bRemoved ? 0 : stack.quantity;
	out["slot_index"] = stack.slotIndex;
	out["slot_key"] = stack.slotKey;
	out["x"] = stack.x;
	out["y"] = stack.y;
	out["rotated"] = stack.bRotated;
	return out;
}

const Stack* Inventory::grant(ContainerState& container, const GrantIntent& grant, const std::optional<Destination>& to, Effects& effects)
{
	const std::string context = "Grant of " + std::to_string(grant.quantity) + " " + m_catalogue.displayName(grant.itemId);
	const bool bPlaced = to && !to->empty();
	if (!bPlaced)
	{
		const int existing = firstStackOf(container, grant.itemId);
		if (existing >= 0)
		{
			Stack& stack = container.stacks[existing];
			addQuantity(stack, grant.quantity, context);
			effects.push_back(effect(0, "changed", stack, grant.quantity));
			return &stack;
		}
	}
	Stack& stack = newStack(container, grant.itemId, grant.quantity);
	Occupancy occupancy = buildOccupancy(container, stack.id);
	const bool bHasPosition = bPlaced && (container.isSlots() ? to->slotIndex.has_value() : to->x.has_value());
	if (bPlaced)
	{
		applyDestination(container, stack, *to, context);
	}
	if (bHasPosition)
	{
		placeStack(container, occupancy, stack, context);
	}
	else
	{
		placeAtFirstFree(container, occupancy, stack, context);
	}
	effects.push_back(effect(0, "created", stack, grant.quantity));
	return &stack;
}

const Stack* Inventory::consume(ContainerState& container, const ConsumeIntent& consume, Effects& effects)
{
	const int index = container.indexOf(consume.instanceId);
	Stack& stack = container.stacks.at(index);
	if (consume.quantity > stack.quantity)
	{
		throw ApiError(409, "insufficient_quantity",
			"Consume of " + std::to_string(consume.quantity) + " from " + describe(stack) + " asks for more than the " + std::to_string(stack.quantity) +
				" it holds.",
			"Read the container again and consume at most what the stack holds.");
	}
	stack.quantity -= consume.quantity;
	stack.bDirty = true;
	if (stack.quantity > 0)
	{
		effects.push_back(effect(0, "changed", stack, -consume.quantity));
		return &stack;
	}
	effects.push_back(effect(0, "removed", stack, -consume.quantity));
	if (stack.bStored)
	{
		container.deletedIds.push_back(stack.id);
	}
	container.stacks.erase(container.stacks.begin() + index);
	return nullptr;
}

const Stack* Inventory::move(ContainerState& from, ContainerState& to, const std::string& instanceId, const std::optional<Destination>& place,
	Effects& fromEffects, Effects& toEffects)
{
	const int fromIndex = from.indexOf(instanceId);
	const std::string context = "Move of " + describe(from.stacks.at(fromIndex));
	const bool bSame = &from == &to;
	const bool bPlaced = place && !place->empty();
	Stack* stack = nullptr;
	if (bSame)
	{
		stack = &from.stacks[fromIndex];
	}
	else
	{
		Stack moving = from.stacks[fromIndex];
		from.stacks.erase(from.stacks.begin() + fromIndex);
		Json leaving = effect(0, "removed", moving, -moving.quantity);
		leaving["to_container_id"] = to.id;
		fromEffects.push_back(std::move(leaving));
		// It enters the other container's order at the end, and takes a place there.
		moving.ord = to.nextOrd++;
		moving.slotIndex = -1;
		moving.x = -1;
		moving.y = -1;
		to.stacks.push_back(std::move(moving));
		stack = &to.stacks.back();
	}
	stack->bDirty = true;
	Occupancy occupancy = buildOccupancy(to, stack->id);
	if (bPlaced)
	{
		applyDestination(to, *stack, *place, context);
	}
	// Without "to" the stack goes to the first free place, even within its own container; a "to"
	// that only rotates or relabels it keeps it where it is.
	const bool bHasPosition = to.isSlots() ? stack->slotIndex >= 0 : stack->x >= 0;
	if (bPlaced && bHasPosition)
	{
		placeStack(to, occupancy, *stack, context);
	}
	else
	{
		placeAtFirstFree(to, occupancy, *stack, context);
	}
	if (bSame)
	{
		toEffects.push_back(effect(0, "changed", *stack, 0));
	}
	else
	{
		Json arriving = effect(0, "created", *stack, stack->quantity);
		arriving["from_container_id"] = from.id;
		toEffects.push_back(std::move(arriving));
	}
	return stack;
}

Json Inventory::transact(ContainerState& container, const std::vector<Intent>& intents, const InstanceLocator& locate, Effects& effects)
{
	std::vector<std::string> touched(intents.size());
	std::unordered_map<std::string, size_t> usedUpBy;
	std::unordered_map<std::string, size_t> movedBy;
	std::unordered_map<std::string, size_t> indexOfId;
	for (size_t i = 0; i < container.stacks.size(); ++i)
	{
		indexOfId.emplace(foldCase(container.stacks[i].id), i);
	}
	std::vector<bool> usedUp(container.stacks.size(), false);

	// Consumes and moves, in order. Places are only recorded here; they are checked together below.
	for (size_t i = 0; i < intents.size(); ++i)
	{
		const Intent& intent = intents[i];
		if (intent.kind == Intent::Kind::Grant)
		{
			continue;
		}
		const bool bConsume = intent.kind == Intent::Kind::Consume;
		const std::string& instanceId = bConsume ? intent.consume.instanceId : intent.move.instanceId;
		const std::string folded = foldCase(instanceId);
		const std::string where = "Intent " + std::to_string(i) + " (" + (bConsume ? "consume" : "move") + " of " + instanceId + ")";
		const auto found = indexOfId.find(folded);
		if (found == indexOfId.end() || usedUp[found->second])
		{
			const auto usedUpAt = usedUpBy.find(folded);
			if (usedUpAt != usedUpBy.end())
			{
				throw ApiError(404, "instance_not_found", where + ": intent " + std::to_string(usedUpAt->second) + " of this transaction used the stack up.",
					"Consume a stack down to zero at most once, and do not move it afterwards.");
			}
			if (const auto holder = locate(instanceId))
			{
				throw ApiError(400, "intent_outside_container",
					where + ": the stack is held in container " + inQuotes(*holder) + ", not in " + inQuotes(container.id) + ".",
					"Every intent of a transaction must stay inside its \"container_id\"; move stacks between containers with POST /v1/game/inventory/move.");
			}
			throw ApiError(404, "instance_not_found", where + ": this player has no stack with that instance id.",
				"Read the container again; another writer may have consumed or moved the stack.");
		}
		Stack& stack = container.stacks[found->second];
		touched[i] = stack.id;
		if (bConsume)
		{
			if (intent.consume.quantity > stack.quantity)
			{
				throw ApiError(409, "insufficient_quantity",
					where + ": asks for " + std::to_string(intent.consume.quantity) + " of " + describe(stack) + ", which holds " +
						std::to_string(stack.quantity) + " at that point.",
					"Read the container again and consume at most what the stack holds.");
			}
			stack.quantity -= intent.consume.quantity;
			stack.bDirty = true;
			if (stack.quantity > 0)
			{
				effects.push_back(effect(static_cast<int>(i), "changed", stack, -intent.consume.quantity));
				continue;
			}
			effects.push_back(effect(static_cast<int>(i), "removed", stack, -intent.consume.quantity));
			usedUpBy[folded] = i;
			movedBy.erase(folded);
			usedUp[found->second] = true;
			if (stack.bStored)
			{
				container.deletedIds.push_back(stack.id);
			}
		}
		else
		{
			applyDestination(container, stack, intent.move.to, where);
			stack.bDirty = true;
			movedBy[folded] = i;
			effects.push_back(effect(static_cast<int>(i), "changed", stack, 0));
		}
	}
	if (!usedUpBy.empty())
	{
		std::vector<Stack> remaining;
		remaining.reserve(container.stacks.size());
		for (size_t i = 0; i < container.stacks.size(); ++i)
		{
			if (!usedUp[i])
			{
				remaining.push_back(std::move(container.stacks[i]));
			}
		}
		container.stacks = std::move(remaining);
	}

	// Occupancy of the final state: stacks that did not move cannot collide with each other, so
	// mark them first; then every collision is reported against a moved stack's intent.
	std::optional<Occupancy> occupancy;
	if (!movedBy.empty())
	{
		occupancy.emplace(container.isSlots() ? Occupancy(container.slotCount, 1) : Occupancy(container.gridWidth, container.gridHeight));
		for (size_t pass = 0; pass < 2; ++pass)
		{
			for (Stack& stack : container.stacks)
			{
				const auto moved = movedBy.find(foldCase(stack.id));
				if ((moved != movedBy.end()) != (pass == 1))
				{
					continue;
				}
				const std::string where = pass == 0 ? std::string("Transaction")
													: "Intent " + std::to_string(moved->second) + " (move of " + intents[moved->second].move.instanceId + ")";
				placeStack(container, *occupancy, stack, where);
			}
		}
	}

	// Grants, in order: onto the first stack of the item, else into the first free place.
	std::unordered_map<std::string, size_t> firstOfItem;
	for (size_t i = 0; i < container.stacks.size(); ++i)
	{
		firstOfItem.emplace(container.stacks[i].itemId, i);
	}
	for (size_t i = 0; i < intents.size(); ++i)
	{
		const Intent& intent = intents[i];
		if (intent.kind != Intent::Kind::Grant)
		{
			continue;
		}
		const std::string where = "Intent " + std::to_string(i) + " (grant of " + std::to_string(intent.grant.quantity) + " " +
			m_catalogue.displayName(intent.grant.itemId) + ")";
		const auto existing = firstOfItem.find(intent.grant.itemId);
		if (existing != firstOfItem.end())
		{
			Stack& stack = container.stacks[existing->second];
			addQuantity(stack, intent.grant.quantity, where);
			touched[i] = stack.id;
			effects.push_back(effect(static_cast<int>(i), "changed", stack, intent.grant.quantity));
			continue;
		}
		if (!occupancy)
		{
			occupancy.emplace(buildOccupancy(container, std::string()));
		}
		Stack& stack = newStack(container, intent.grant.itemId, intent.grant.quantity);
		placeAtFirstFree(container, *occupancy, stack, where);
		firstOfItem.emplace(stack.itemId, container.stacks.size() - 1);
		touched[i] = stack.id;
		effects.push_back(effect(static_cast<int>(i), "created", stack, intent.grant.quantity));
	}

	indexOfId.clear();
	for (size_t i = 0; i < container.stacks.size(); ++i)
	{
		indexOfId.emplace(foldCase(container.stacks[i].id), i);
	}
	Json results = Json::array();
	for (const std::string& id : touched)
	{
		const auto found = indexOfId.find(foldCase(id));
		results.push_back(found != indexOfId.end() ? itemJson(container.stacks[found->second]) : Json(nullptr));
	}
	return results;
}
}
